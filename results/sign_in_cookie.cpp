#include "results/sign_in_cookie.h"

#include <sodium.h>

#include <charconv>
#include <vector>

#include "base/whole_number.h"

namespace zeziza::results {

namespace {

constexpr char kVersion[] = "r2";

std::string base64(const unsigned char* bytes, std::size_t size) {
  const int variant = sodium_base64_VARIANT_URLSAFE_NO_PADDING;
  std::string out(sodium_base64_encoded_len(size, variant), '\0');
  sodium_bin2base64(out.data(), out.size(), bytes, size, variant);
  out.resize(out.size() - 1);  // the terminating NUL
  return out;
}

std::optional<std::string> unbase64(std::string_view text) {
  std::string out(text.size(), '\0');
  std::size_t length = 0;
  const char* end = nullptr;
  if (sodium_base642bin(reinterpret_cast<unsigned char*>(out.data()), out.size(), text.data(),
                        text.size(), nullptr, &length, &end,
                        sodium_base64_VARIANT_URLSAFE_NO_PADDING) != 0 ||
      end != text.data() + text.size()) {
    return std::nullopt;
  }
  out.resize(length);
  return out;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t at = text.find(separator, start);
    parts.push_back(text.substr(start, at == std::string_view::npos ? at : at - start));
    if (at == std::string_view::npos) return parts;
    start = at + 1;
  }
}

}  // namespace

std::string passwordStamp(std::string_view passwordHash) {
  unsigned char digest[8];
  crypto_generichash(digest, sizeof digest,
                     reinterpret_cast<const unsigned char*>(passwordHash.data()),
                     passwordHash.size(), nullptr, 0);
  return base64(digest, sizeof digest);
}

std::string sealSignIn(const SignIn& signIn, const CookieKey& key) {
  const std::string fields =
      std::string(kVersion) + "\n" + (signIn.role == SignIn::Role::School ? "school" : "student") +
      "\n" + std::to_string(signIn.school) + "\n" + signIn.student + "\n" + signIn.stamp + "\n" +
      std::to_string(signIn.epoch) + "\n" + std::to_string(signIn.expires);
  unsigned char mac[crypto_auth_BYTES];
  crypto_auth(mac, reinterpret_cast<const unsigned char*>(fields.data()), fields.size(),
              key.data());
  return base64(reinterpret_cast<const unsigned char*>(fields.data()), fields.size()) + "." +
         base64(mac, sizeof mac);
}

std::optional<SignIn> openSignIn(std::string_view value, const CookieKey& key,
                                 std::chrono::system_clock::time_point now) {
  const std::size_t dot = value.find('.');
  if (dot == std::string_view::npos) return std::nullopt;
  const auto fields = unbase64(value.substr(0, dot));
  const auto mac = unbase64(value.substr(dot + 1));
  if (!fields || !mac || mac->size() != crypto_auth_BYTES ||
      crypto_auth_verify(reinterpret_cast<const unsigned char*>(mac->data()),
                         reinterpret_cast<const unsigned char*>(fields->data()), fields->size(),
                         key.data()) != 0) {
    return std::nullopt;
  }
  const auto parts = split(*fields, '\n');
  if (parts.size() != 7 || parts[0] != kVersion) return std::nullopt;
  SignIn signIn;
  if (parts[1] == "school") {
    signIn.role = SignIn::Role::School;
  } else if (parts[1] != "student") {
    return std::nullopt;
  }
  const auto school = base::exactInteger<std::int64_t>(parts[2]);
  const auto epoch = base::exactInteger<std::int64_t>(parts[5]);
  const auto expires = base::exactInteger<std::int64_t>(parts[6]);
  if (!school || !epoch || !expires) return std::nullopt;
  signIn.school = *school;
  signIn.student = std::string(parts[3]);
  signIn.stamp = std::string(parts[4]);
  signIn.epoch = *epoch;
  signIn.expires = *expires;
  const auto seconds =
      std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count();
  if (signIn.expires <= seconds) return std::nullopt;
  return signIn;
}

}  // namespace zeziza::results
