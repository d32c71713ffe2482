#include "cloud/school_name.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/uspoof.h>
#include <unicode/utf8.h>

#include <memory>
#include <stdexcept>

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

void requireOk(UErrorCode status, const char* what) {
  if (U_FAILURE(status)) throw std::runtime_error(std::string(what) + ": " + u_errorName(status));
}

icu::UnicodeString nfkc(std::string_view text) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* normalizer = icu::Normalizer2::getNFKCInstance(status);
  requireOk(status, "NFKC");
  const auto out = normalizer->normalize(icu::UnicodeString::fromUTF8(icu::StringPiece(
                                             text.data(), static_cast<int32_t>(text.size()))),
                                         status);
  requireOk(status, "NFKC");
  return out;
}

struct SpoofCloser {
  void operator()(USpoofChecker* checker) const { uspoof_close(checker); }
};
using SpoofChecker = std::unique_ptr<USpoofChecker, SpoofCloser>;

// Checks only that the letters come from scripts written together (Han with Latin, kana or
// Hangul; no Cyrillic among Latin).
SpoofChecker scriptChecker() {
  UErrorCode status = U_ZERO_ERROR;
  SpoofChecker checker(uspoof_open(&status));
  requireOk(status, "uspoof_open");
  uspoof_setChecks(checker.get(), USPOOF_RESTRICTION_LEVEL, &status);
  uspoof_setRestrictionLevel(checker.get(), USPOOF_HIGHLY_RESTRICTIVE);
  requireOk(status, "uspoof_setChecks");
  return checker;
}

std::string utf8(const icu::UnicodeString& text) {
  std::string out;
  text.toUTF8String(out);
  return out;
}

}  // namespace

std::size_t characterCount(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

std::size_t visibleCharacterCount(std::string_view text) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto length = static_cast<std::int32_t>(text.size());
  std::size_t count = 0;
  for (std::int32_t i = 0; i < length;) {
    UChar32 c = 0;
    U8_NEXT(bytes, i, length, c);
    if (c >= 0 && !u_isUWhiteSpace(c) && !u_iscntrl(c)) ++count;
  }
  return count;
}

std::optional<std::string> schoolNameProblem(std::string_view name) {
  if (name.empty()) return "学校名称不能为空！";
  if (name.size() > kMaxSchoolName) return "学校名称过长或含有无效字符！";
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(name.data());
  const auto length = static_cast<std::int32_t>(name.size());
  bool blank = true;
  for (std::int32_t i = 0; i < length;) {
    UChar32 c = 0;
    U8_NEXT(bytes, i, length, c);
    if (c < 0) return "学校名称过长或含有无效字符！";
    if (hidden(c)) return "学校名称不能含有不可见字符或文字方向控制字符！";
    blank = blank && u_isUWhiteSpace(c);
  }
  if (blank) return "学校名称不能为空！";
  UErrorCode status = U_ZERO_ERROR;
  const auto checker = scriptChecker();
  const icu::UnicodeString folded = nfkc(name);
  const int32_t failed =
      uspoof_check(checker.get(), folded.getBuffer(), folded.length(), nullptr, &status);
  requireOk(status, "uspoof_check");
  if (failed != 0) return "学校名称不能混用不同文字的字母（如拉丁字母与西里尔字母）！";
  return std::nullopt;
}

std::string tidySchoolName(std::string_view name) {
  const icu::UnicodeString text = icu::UnicodeString::fromUTF8(
      icu::StringPiece(name.data(), static_cast<int32_t>(name.size())));
  icu::UnicodeString out;
  bool pendingBlank = false;
  for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
    const UChar32 c = text.char32At(i);
    if (u_isUWhiteSpace(c)) {
      pendingBlank = !out.isEmpty();
      continue;
    }
    if (pendingBlank) out.append(static_cast<UChar>(u' '));
    pendingBlank = false;
    out.append(c);
  }
  return utf8(out);
}

std::string schoolNameKey(std::string_view name) {
  const icu::UnicodeString folded = nfkc(name);
  icu::UnicodeString solid;
  for (int32_t i = 0; i < folded.length(); i = folded.moveIndex32(i, 1)) {
    const UChar32 c = folded.char32At(i);
    if (!u_isUWhiteSpace(c)) solid.append(c);
  }
  UErrorCode status = U_ZERO_ERROR;
  const SpoofChecker checker(uspoof_open(&status));
  requireOk(status, "uspoof_open");
  icu::UnicodeString skeleton;
  uspoof_getSkeletonUnicodeString(checker.get(), 0, solid, skeleton, &status);
  requireOk(status, "uspoof_getSkeleton");
  return utf8(skeleton);
}

}  // namespace zeziza::cloud
