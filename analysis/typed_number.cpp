#include "analysis/typed_number.h"

#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

#include <charconv>
#include <cmath>
#include <stdexcept>

#include "base/text.h"

namespace zeziza::analysis {

namespace {

constexpr std::string_view kPoints = "分";
// No number is longer; ICU counts in 32 bits.
constexpr std::size_t kLongest = 1000;

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string folded(std::string_view text) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfkc = icu::Normalizer2::getNFKCInstance(status);
  if (U_FAILURE(status)) throw std::runtime_error(std::string("NFKC: ") + u_errorName(status));
  const auto typed = icu::UnicodeString::fromUTF8(
      icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
  const icu::UnicodeString normal = nfkc->normalize(typed, status);
  if (U_FAILURE(status)) throw std::runtime_error(std::string("NFKC: ") + u_errorName(status));
  std::string out;
  return normal.toUTF8String(out);
}

// A plain decimal: an optional sign, then a digit or a point (from_chars alone would also
// read "inf" and "nan").
std::optional<double> plainNumber(std::string_view digits) {
  const bool negative = digits.starts_with('-');
  if (negative || digits.starts_with('+')) digits.remove_prefix(1);
  if (digits.empty() || !(isDigit(digits.front()) || digits.front() == '.')) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  if (value == 0) return 0.0;
  return negative ? -value : value;
}

}  // namespace

std::optional<double> typedNumber(std::string_view text) {
  if (text.size() > kLongest) return std::nullopt;
  std::string t = base::trimmed(folded(text));
  if (t.ends_with(kPoints)) {
    t = base::trimmed(std::string_view(t).substr(0, t.size() - kPoints.size()));
  }
  return plainNumber(t);
}

bool blankTyped(std::string_view text) {
  if (base::trimmedView(text).empty()) return true;
  return text.size() <= kLongest && base::trimmedView(folded(text)).empty();
}

std::string quotedTyped(std::string_view text, std::size_t limit) {
  const std::string_view t = base::trimmedView(text);
  std::size_t characters = 0;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if ((static_cast<unsigned char>(t[i]) & 0xC0) == 0x80) continue;  // inside a character
    if (characters++ == limit) return std::string(t.substr(0, i)) + "…";
  }
  return std::string(t);
}

}  // namespace zeziza::analysis
