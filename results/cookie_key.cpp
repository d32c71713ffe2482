#include "results/cookie_key.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "base/text.h"

namespace zeziza::results {

namespace {

void requireSodium() {
  if (sodium_init() < 0) throw std::runtime_error("libsodium cannot start");
}

// Writes a new key into `file` unless it exists. The key is written aside and linked into
// place, so instances started together agree on one complete key.
void createKeyFile(const std::filesystem::path& file) {
  if (std::filesystem::exists(file)) return;
  CookieKey key;
  crypto_auth_keygen(key.data());
  const std::string text = cookieKeyText(key) + "\n";
  sodium_memzero(key.data(), key.size());
  const std::filesystem::path aside = file.string() + ".new" + std::to_string(::getpid());
  const int fd = ::open(aside.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) {
    throw std::runtime_error("无法创建密钥文件 " + file.string() + "：" + std::strerror(errno));
  }
  const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  const bool linked =
      written && synced && (::link(aside.c_str(), file.c_str()) == 0 || errno == EEXIST);
  std::error_code ignored;
  std::filesystem::remove(aside, ignored);
  if (!linked) throw std::runtime_error("无法写入密钥文件 " + file.string());
}

}  // namespace

std::optional<CookieKey> parseCookieKey(std::string text) {
  requireSodium();
  text = base::trimmed(text);
  CookieKey key;
  std::size_t length = 0;
  const char* end = nullptr;
  if (text.size() != key.size() * 2 ||
      sodium_hex2bin(key.data(), key.size(), text.data(), text.size(), nullptr, &length, &end) !=
          0 ||
      length != key.size() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return key;
}

std::string cookieKeyText(const CookieKey& key) {
  std::string hex(key.size() * 2 + 1, '\0');
  sodium_bin2hex(hex.data(), hex.size(), key.data(), key.size());
  hex.pop_back();
  return hex;
}

CookieKey loadCookieKey(const std::optional<std::string>& environmentValue,
                        const std::filesystem::path& file) {
  requireSodium();
  if (environmentValue) {
    const auto key = parseCookieKey(*environmentValue);
    if (!key) throw std::runtime_error("ZEZIZA_RESULTS_KEY 不是64位十六进制密钥");
    return *key;
  }
  createKeyFile(file);
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  if (!in) throw std::runtime_error("无法读取密钥文件 " + file.string());
  const auto key = parseCookieKey(text.str());
  if (!key) throw std::runtime_error("密钥文件 " + file.string() + " 不含64位十六进制密钥");
  return *key;
}

}  // namespace zeziza::results
