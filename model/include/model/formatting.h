// Text forms of measured values: a unit prefix and a number of decimals
// chosen so that a value shows about three significant digits.  Numbers are
// always written with a decimal point, whatever the user's locale.  Texts are
// UTF-8 (the micro sign is U+03BC).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace oscilane {

// x with the given number of decimals, as "%.*f" in the C locale.
std::string FixedText(double x, int decimals);

// x with at most the given number of significant digits, as "%.*g" writes
// it in the C locale (no trailing zeros); "0" when it cannot be written.
std::string GeneralText(double x, int digits);

// 2, 1 or 0 decimals for [0, 10), [10, 100) and anything else (also negatives).
std::string Fmt3(double x);
// n-1, n-2, n-3 or 0 decimals for [0, 10), [10, 100), [100, 1000) and the rest.
std::string FmtN(double x, int n);

// Millivolts with a unit; probe index 1, 2, 3 multiplies by 10, 100, 1000.
// Empty (or a lone "-") outside 0.001 mV .. 1e9 mV.
std::string VoltText(double millivolts, uint16_t probe);
// Decibels with the unit, n digits.
std::string DbText(double decibels, int n);
// Nanoseconds with a unit; empty (or a lone "-") outside 10 ns .. 1e12 ns.
std::string TimeText(double nanoseconds);
// Hertz with a unit; empty for negatives and from 1e12 up.
std::string FreqText(double hertz);
// Samples per second with a unit ("2.000MSa/s"), the same digits and range as FreqText.
std::string RateText(double samplesPerSecond);

// x in a unit with three significant digits and an engineering prefix
// ("5.00ns" for 5e-9 with "s", "-1.20kV", "999mV"); "0" and the unit for 0;
// empty for NaN or infinity.  Unlike the formatters above it has no range
// where it writes nothing, so a table can show any value it holds.
std::string EngineeringText(double x, std::string_view unit);
// x with at least three significant digits and no prefix ("12.5", "0.0100",
// "1234"); "0" for 0; empty for NaN or infinity.
std::string SignificantText(double x);

// The value of a plain decimal number (digits, '.', '-'); 0 for any other text.
double ParseDecimal(std::string_view text);
// The same for wide text: only the low byte of each character is looked at,
// as in the stored files.
double ParseDecimal(std::u16string_view text);

}  // namespace oscilane
