#pragma once

#include <string>

namespace zeziza::analysis {

// Shortest text with at most 15 significant digits: 85, 85.5, 83.3333333333333, -2.5, 0.
// Values of 1e15 and above, or below 0.00001, switch to an exponent form: 1E15, 1.5E-7.
std::string formatGeneral(double value);

// Exactly `decimals` digits after a point, rounded half away from zero on the decimal digits
// of the value's 15-significant-digit text: 80.125 -> "80.13", 2.0005 -> "2.001" (3 decimals).
// A result that rounds to zero carries no minus sign. Throws std::invalid_argument when
// decimals is negative.
std::string formatFixed(double value, int decimals);

}  // namespace zeziza::analysis
