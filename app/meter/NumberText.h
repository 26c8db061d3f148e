#pragma once

// Number texts that do not depend on the user's locale, and the rounding rules
// the meter data uses (halves go to the even neighbour).

#include <cstdint>
#include <string>

// Shortest decimal text that reads back as the same single float ("12.35", "-9999", "1e-05").
// It is the text of machine output (CSV, amperotool): every NaN is "nan", whatever
// its sign bit, and the infinities are "inf" and "-inf".
std::string ShortestFloatText(float value);

// What a person reads for a value that is no finite number: "---" for NaN, and
// "OL" or "-OL" (over-range, as the meter shows it) for the infinities. Empty
// for a finite value.
std::string NonFiniteText(double value);

// The general text of a number with at most `significantDigits` significant
// digits: no trailing zeros, and an exponent ("1E+08", "1E-05") only where the
// decimal exponent is below -4 or not below the digit count, as C's %g decides;
// NonFiniteText for NaN and the infinities.
std::string GeneralNumberText(double value, int significantDigits);

// The general text of a single float: its shortest text where that has at most
// seven digits and an ordinary magnitude ("12.35", "0.1"), else
// GeneralNumberText with seven digits ("1E+08").
std::string GeneralFloatText(float value);

// Round to two decimals, halves to even, as a single float.
float RoundToTwoDecimals(double value);

// Round to the nearest whole number, halves to even. Values outside the 64-bit
// range saturate; NaN gives 0.
std::int64_t RoundHalfEven(double value);

// Parse a decimal number made of digits with at most one '.', the way the meter
// display texts are converted; false when the text is anything else.
bool ParseMeterNumber(const std::string &text, float &value);
