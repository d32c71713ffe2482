#include "analysis/number_format.h"

#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string_view>

namespace zeziza::analysis {
namespace {

// A double carries 15 decimal digits reliably; rounding the text beyond them would round
// binary noise (80.125 is exact, but 1.005 is stored as 1.00499999...).
constexpr int kSignificantDigits = 15;
// General form keeps fixed notation for 0.00001 <= |v| < 1e15.
constexpr int kMaxIntegerDigits = kSignificantDigits;
constexpr int kMinPointPosition = -4;

// value = (negative ? -1 : 1) * 0.d1d2d3... * 10^pointPosition; no trailing zero digits,
// and no digits at all for zero.
struct DecimalText {
  bool negative = false;
  std::string digits;
  int pointPosition = 0;
};

// The exponent of to_chars' scientific form: a sign, then digits ("+01", "-05").
int exponentOf(std::string_view text) {
  const bool negative = text.front() == '-';
  int exponent = 0;
  std::from_chars(text.data() + 1, text.data() + text.size(), exponent);
  return negative ? -exponent : exponent;
}

DecimalText toDecimalText(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::abs(value),
                                    std::chars_format::scientific, kSignificantDigits - 1);
  const std::string_view text(buffer, result.ptr);
  const auto exponentAt = text.find('e');

  DecimalText decimal;
  decimal.negative = std::signbit(value);
  for (const char c : text.substr(0, exponentAt)) {
    if (c != '.') decimal.digits.push_back(c);
  }
  decimal.pointPosition = exponentOf(text.substr(exponentAt + 1)) + 1;
  while (!decimal.digits.empty() && decimal.digits.back() == '0') decimal.digits.pop_back();
  if (decimal.digits.empty()) decimal.negative = false;
  return decimal;
}

std::string nonFiniteText(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

std::string exponentForm(const DecimalText& decimal) {
  std::string text = decimal.negative ? "-" : "";
  text += decimal.digits.front();
  if (decimal.digits.size() > 1) {
    text += '.';
    text.append(decimal.digits, 1);
  }
  text += 'E';
  text += std::to_string(decimal.pointPosition - 1);
  return text;
}

// Digit at `index` counted from the first significant digit; zero outside the digits.
char digitAt(const DecimalText& decimal, int index) {
  const bool inside = index >= 0 && index < static_cast<int>(decimal.digits.size());
  return inside ? decimal.digits[index] : '0';
}

std::string pointForm(const DecimalText& decimal, int decimals) {
  std::string text = decimal.negative ? "-" : "";
  if (decimal.pointPosition <= 0) text += '0';
  for (int i = 0; i < decimal.pointPosition; ++i) text += digitAt(decimal, i);
  if (decimals > 0) text += '.';
  for (int i = 0; i < decimals; ++i) text += digitAt(decimal, decimal.pointPosition + i);
  return text;
}

int fractionDigits(const DecimalText& decimal) {
  const int count = static_cast<int>(decimal.digits.size()) - decimal.pointPosition;
  return count > 0 ? count : 0;
}

// Cuts the digits after `keep` significant digits, rounding half away from zero.
void roundDigits(DecimalText& decimal, int keep) {
  if (keep >= static_cast<int>(decimal.digits.size())) return;
  if (keep < 0) {
    decimal = DecimalText{};
    return;
  }
  const bool roundUp = decimal.digits[keep] >= '5';
  decimal.digits.resize(keep);
  if (roundUp) {
    int i = keep - 1;
    while (i >= 0 && decimal.digits[i] == '9') decimal.digits[i--] = '0';
    if (i >= 0) {
      ++decimal.digits[i];
    } else {
      decimal.digits.insert(decimal.digits.begin(), '1');
      ++decimal.pointPosition;
    }
  }
  while (!decimal.digits.empty() && decimal.digits.back() == '0') decimal.digits.pop_back();
  if (decimal.digits.empty()) decimal = DecimalText{};
}

}  // namespace

std::string formatGeneral(double value) {
  if (!std::isfinite(value)) return nonFiniteText(value);
  const DecimalText decimal = toDecimalText(value);
  if (decimal.digits.empty()) return "0";
  if (decimal.pointPosition > kMaxIntegerDigits || decimal.pointPosition < kMinPointPosition) {
    return exponentForm(decimal);
  }
  return pointForm(decimal, fractionDigits(decimal));
}

std::string formatFixed(double value, int decimals) {
  if (decimals < 0) throw std::invalid_argument("formatFixed: negative number of decimals");
  if (!std::isfinite(value)) return nonFiniteText(value);
  DecimalText decimal = toDecimalText(value);
  roundDigits(decimal, decimal.pointPosition + decimals);
  return pointForm(decimal, decimals);
}

}  // namespace zeziza::analysis
