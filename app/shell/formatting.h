// Text forms of measured values: a unit prefix and a number of decimals
// chosen so that a value shows about three significant digits.  Numbers are
// always written with a decimal point, whatever the user's locale.
#pragma once

#include <QString>

namespace oscilane {

// x with the given number of decimals, as "%.*f" in the C locale.
QString fixedText(double x, int decimals);

// 2, 1 or 0 decimals for [0, 10), [10, 100) and anything else (also negatives).
QString fmt3(double x);
// n-1, n-2, n-3 or 0 decimals for [0, 10), [10, 100), [100, 1000) and the rest.
QString fmtN(double x, int n);

// Millivolts with a unit; probe index 1, 2, 3 multiplies by 10, 100, 1000.
// Empty (or a lone "-") outside 0.001 mV .. 1e9 mV.
QString voltText(double millivolts, uint16_t probe);
// Decibels with the unit, n digits.
QString dbText(double decibels, int n);
// Nanoseconds with a unit; empty (or a lone "-") outside 10 ns .. 1e12 ns.
QString timeText(double nanoseconds);
// Hertz with a unit; empty for negatives and from 1e12 up.
QString freqText(double hertz);

// The value of a plain decimal number (digits, '.', '-'); 0 for any other text.
double parseDecimal(const QString& text);

}  // namespace oscilane
