// Numeric tables of the scope settings, looked up by an index read from the
// block.  An index the table does not hold yields "no value", never an
// entry of a neighbouring table.
#pragma once

#include <QString>
#include <optional>

#include "scope/scope_settings.h"

namespace oscilane {

inline constexpr int kVoltsIndexCount = 14;
inline constexpr int kTimeBaseIndexCount = 38;
inline constexpr int kLeverMax = 199;
inline constexpr int kCodeMax = 255;
inline constexpr int kHorizontalUnits = 300;

// Millivolts per division of volts index 0..13.
std::optional<double> millivoltsPerDivision(int voltsIndex);
// 1, 10, 100, 1000 for probe index 0..3; any other index gives 1.
int probeFactor(int probeIndex);
// Seconds per division of time-base index 0..37.
std::optional<double> secondsPerDivision(int timeBaseIndex);
// Samples per second of time-base index 0..37: 1000 samples per division.
std::optional<double> samplesPerSecond(int timeBaseIndex);
// Decibels per division of FFT dB index 0..6.
std::optional<int> fftDecibelsPerDivision(int dbIndex);

// The sample-rate text of a time-base index; the fastest rates halve when
// both channels share the converter outside ALT trigger mode.
QString sampleRateText(int timeBaseIndex, bool bothChannelsShown, bool altTrigger);
QString sampleRateText(const ScopeSettings& s, int timeBaseIndex);

// The Time/DIV list position of a time-base index, -1 when the list has none.
int timeListPosition(int timeBaseIndex);

// Sample code 0 of the lever: 255 - lever * 255/199.
double zeroCodeOfLever(int lever);

// Millivolts a sample code of channel 0..3 stands for, with the channel's
// volts index, position and probe; no value for a volts index outside the table.
std::optional<double> sampleMillivolts(const ScopeSettings& s, int channel, int code);

}  // namespace oscilane
