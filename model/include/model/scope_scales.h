// Numeric tables of the scope settings, looked up by an index read from the
// block.  An index the table does not hold yields "no value", never an
// entry of a neighbouring table.
#pragma once

#include <optional>
#include <string>

#include "model/scope_settings.h"
#include "zelvo/scope_tables.h"

namespace oscilane {

inline constexpr int kVoltsIndexCount =
    static_cast<int>(zelvo::tables::kMillivoltsPerDivision.size());
inline constexpr int kTimeBaseIndexCount = zelvo::tables::kTimeBaseCount;
inline constexpr int kLeverMax = zelvo::tables::kLeverMax;
inline constexpr int kCodeMax = 255;
inline constexpr int kHorizontalUnits = zelvo::tables::kHorizontalPositionMax;
// A trace sample that is not on the screen: the instrument blanks it.
inline constexpr int kBlankedCode = 32767;

// Millivolts per division of volts index 0..13.
std::optional<double> MillivoltsPerDivision(int voltsIndex);
// 1, 10, 100, 1000 for probe index 0..3; any other index gives 1.
int ProbeFactor(int probeIndex);
// Seconds per division of time-base index 0..37.
std::optional<double> SecondsPerDivision(int timeBaseIndex);
// Samples per second of time-base index 0..37: 1000 samples per division.
std::optional<double> SamplesPerSecond(int timeBaseIndex);
// The FFT spreads its sample rate over 400 divisions' worth of frequency:
// hertz per division = rate / 400.
inline constexpr double kFftRatePerDivision = 400;
// Samples per second of the FFT's source (CH2 for source 1, else CH1) at its
// time base; no value for a time base outside the table.
std::optional<double> FftSampleRate(const ScopeSettings& s);
// Decibels per division of FFT dB index 0..6.
std::optional<int> FftDecibelsPerDivision(int dbIndex);

// The sample-rate text of a time-base index; the fastest rates halve when
// both channels share the converter outside ALT trigger mode.
std::string SampleRateText(int timeBaseIndex, bool bothChannelsShown, bool altTrigger);
std::string SampleRateText(const ScopeSettings& s, int timeBaseIndex);

// The Time/DIV list position of a time-base index, -1 when the list has none.
int TimeListPosition(int timeBaseIndex);

// Sample code 0 of the lever: 255 - lever * 255/199.
double ZeroCodeOfLever(int lever);

// Millivolts of a sample code: its distance from the lever's zero code, at
// the given millivolts per division (255 codes span 8 divisions) and probe factor.
double CodeMillivolts(int code, int lever, double millivoltsPerDivision, int probeFactor);

// Millivolts a sample code of channel 0..3 stands for, with the channel's
// volts index, position and probe; no value for a volts index outside the table.
std::optional<double> SampleMillivolts(const ScopeSettings& s, int channel, int code);

// Seconds between two samples of a trace shown at a time-base index: 1200
// samples span 12 divisions.  No value for an index outside the table.
std::optional<double> SampleIntervalSeconds(int timeBaseIndex);

}  // namespace oscilane
