#include "cloud/school_name.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace zeziza::cloud {

namespace {

constexpr std::size_t kMaxSchoolName = 120;  // bytes: 40 Chinese characters

// Characters a reader cannot see or that reorder what is shown: zero-width characters, the
// soft hyphen, the byte order mark, fillers, the direction overrides, embeddings and isolates,
// and control characters.
bool hidden(UChar32 c) {
  if (u_hasBinaryProperty(c, UCHAR_DEFAULT_IGNORABLE_CODE_POINT) ||
      u_hasBinaryProperty(c, UCHAR_BIDI_CONTROL)) {
    return true;
  }
  switch (u_charType(c)) {
    case U_CONTROL_CHAR:
    case U_FORMAT_CHAR:
    case U_LINE_SEPARATOR:
    case U_PARAGRAPH_SEPARATOR:
    case U_PRIVATE_USE_CHAR:
    case U_UNASSIGNED:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::size_t characterCount(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

std::optional<std::string> schoolNameProblem(std::string_view name) {
  if (name.empty()) return "学校名称不能为空！";
  if (name.size() > kMaxSchoolName) return "学校名称过长或含有无效字符！";
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(name.data());
  const auto length = static_cast<std::int32_t>(name.size());
  for (std::int32_t i = 0; i < length;) {
    UChar32 c = 0;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) return "学校名称过长或含有无效字符！";
    if (hidden(c)) return "学校名称不能含有不可见字符或文字方向控制字符！";
  }
  return std::nullopt;
}

}  // namespace zeziza::cloud
