#include "web/static_files.h"

#include <fstream>
#include <map>
#include <sstream>

#include "base/platform/files.h"
#include "web/html.h"

namespace zeziza::web {

namespace {

// A name made only of plain segments: no "..", ".", empty segment, backslash or NUL.
bool plainRelative(std::string_view relative) {
  if (relative.empty() || relative.find('\0') != std::string_view::npos ||
      relative.find('\\') != std::string_view::npos || relative.front() == '/') {
    return false;
  }
  for (const auto& part : std::filesystem::path(relative)) {
    const std::string s = part.string();
    if (s.empty() || s == "." || s == "..") return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> readInside(const std::filesystem::path& root,
                                      std::string_view relative) {
  if (!plainRelative(relative)) return std::nullopt;
  return platform::readFileBeneath(root, std::string(relative));
}

std::optional<HttpResponse> fileInside(const std::filesystem::path& root, std::string_view relative,
                                       bool cacheable) {
  auto content = readInside(root, relative);
  if (!content) return std::nullopt;
  HttpResponse r;
  r.contentType = contentTypeFor(std::filesystem::path(relative));
  r.body = std::move(*content);
  r.headers.emplace_back("Cache-Control", cacheable ? "max-age=3600" : "no-store");
  r.headers.emplace_back("X-Content-Type-Options", "nosniff");
  return r;
}

std::optional<std::filesystem::path> resolveInside(const std::filesystem::path& root,
                                                   std::string_view relative) {
  if (!plainRelative(relative)) return std::nullopt;
  std::filesystem::path candidate = root;
  for (const auto& part : std::filesystem::path(relative)) candidate /= part;
  std::error_code ec;
  const auto realRoot = std::filesystem::canonical(root, ec);
  if (ec) return std::nullopt;
  const auto real = std::filesystem::canonical(candidate, ec);
  if (ec || !std::filesystem::is_regular_file(real, ec)) return std::nullopt;
  // Symlinks are resolved above; what they lead to must still lie inside the root.
  const auto [rootEnd, realIt] =
      std::mismatch(realRoot.begin(), realRoot.end(), real.begin(), real.end());
  if (rootEnd != realRoot.end()) return std::nullopt;
  return real;
}

std::string contentTypeFor(const std::filesystem::path& file) {
  static const std::map<std::string, std::string> types = {
      {".css", "text/css; charset=utf-8"},
      {".js", "text/javascript; charset=utf-8"},
      {".html", "text/html; charset=utf-8"},
      {".htm", "text/html; charset=utf-8"},
      {".txt", "text/plain; charset=utf-8"},
      {".jpg", "image/jpeg"},
      {".jpeg", "image/jpeg"},
      {".png", "image/png"},
      {".gif", "image/gif"},
      {".ico", "image/x-icon"},
      {".svg", "image/svg+xml"},
      {".xlsx", "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"},
      {".csv", "text/csv; charset=utf-8"},
  };
  const auto it = types.find(toLower(file.extension().string()));
  return it == types.end() ? "application/octet-stream" : it->second;
}

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

HttpResponse fileResponse(const std::filesystem::path& file, bool cacheable) {
  HttpResponse r;
  r.contentType = contentTypeFor(file);
  r.body = readFile(file);
  r.headers.emplace_back("Cache-Control", cacheable ? "max-age=3600" : "no-store");
  r.headers.emplace_back("X-Content-Type-Options", "nosniff");
  return r;
}

void setInlineName(HttpResponse& response, std::string_view name) {
  // RFC 5987 form, so a Chinese file name survives; the plain form is kept ASCII.
  std::string encoded;
  std::string ascii;
  static const char* hex = "0123456789ABCDEF";
  for (const unsigned char c : name) {
    const bool plain = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                       c == '.' || c == '-' || c == '_';
    if (plain) {
      encoded += static_cast<char>(c);
      ascii += static_cast<char>(c);
    } else {
      encoded += '%';
      encoded += hex[c >> 4];
      encoded += hex[c & 15];
      ascii += '_';
    }
  }
  response.headers.emplace_back("Content-Disposition",
                                "inline; filename=\"" + ascii + "\"; filename*=UTF-8''" + encoded);
}

}  // namespace zeziza::web
