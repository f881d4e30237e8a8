#pragma once

#include <string>

namespace engine {

// Rounds to two decimals with halves to the even neighbour (0.125 -> 0.12).
double roundHalfEven2(double value);

// The text of a number as the user sees it: rounded to two decimals (halves to even),
// shortest form up to 15 significant digits, no trailing zeros, no group separator,
// the given decimal separator; never "-0".
std::string numberToText(double value, char decimalSeparator);

} // namespace engine
