// Result texts of the calculators, and the comparisons of typed percentages
// against published limits.
#pragma once

#include <string>

namespace rfcalc {

// value with `decimals` digits after the point ("%.*f"), printed as reports
// print numbers (report_format.h): C locale, a zero without a sign.
std::string FormatFixed(double value, int decimals);

// A percentage typed as a decimal and subtracted from 100 (100 - 98.3) is off
// by a few 1e-15: a value that meets a limit exactly must compare as equal.
inline constexpr double kPercentTolerance = 1e-9;

// value > limit, a value equal to the limit within the tolerance not counting.
inline bool Exceeds(double value, double limit) { return value > limit + kPercentTolerance; }
// value < limit, likewise.
inline bool FallsShortOf(double value, double limit) { return value < limit - kPercentTolerance; }

}  // namespace rfcalc
