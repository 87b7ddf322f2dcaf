// Byte layout of the 10148-byte setting block (block code 3), as it stands
// after the library has swapped back the half-swapped 32-bit fields.
// All fields are little-endian.
//
// The first channel records hold the settings in force now; the second
// channel records hold those in force when the shown data was captured, so a
// stopped trace keeps its scale after the knobs move.  The data is live while
// the run/stop word is 0.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace zelvo::layout {

inline constexpr std::size_t kBlockSize = 10148;
inline constexpr int kWaveformCount = 4;  // 0 CH1, 1 CH2, 2 MATH, 3 REF
inline constexpr std::size_t kSamplesPerTrace = 1200;
inline constexpr int16_t kBlankedSample = 32767;
inline constexpr int16_t kSampleMax = 255;  // codes 0 (grid bottom) .. 255 (grid top)

// Channel records: four "first" records at 0 and four "second" records at 196.
inline constexpr std::size_t kChannelRecordSize = 48;
inline constexpr std::size_t kFirstChannelRecords = 0;
inline constexpr std::size_t kSecondChannelRecords = 196;
constexpr std::size_t firstChannelRecord(int channel) {
    return kFirstChannelRecords + kChannelRecordSize * static_cast<std::size_t>(channel);
}
constexpr std::size_t secondChannelRecord(int channel) {
    return kSecondChannelRecords + kChannelRecordSize * static_cast<std::size_t>(channel);
}

// Fields of a channel record (offsets within the record).
namespace channel {
inline constexpr std::size_t kShown = 0;           // i16, 1 when shown
inline constexpr std::size_t kVoltsIndex = 2;      // i16, index into the voltage table
inline constexpr std::size_t kCoupling = 4;        // i16: 0 AC, 1 DC, 2 GND
inline constexpr std::size_t kProbe = 6;           // i16: 0 1X, 1 10X, 2 100X, 3 1000X
inline constexpr std::size_t kInvert = 8;          // i16
inline constexpr std::size_t kBandwidth20M = 10;   // i16, 20 MHz limit on
inline constexpr std::size_t kBandwidth100M = 12;  // i16
inline constexpr std::size_t kVoltsValue = 16;     // u32, volts/div of a 1X probe in 10 uV
inline constexpr std::size_t kPosition = 20;       // i16, vertical position (lever 0..199)
inline constexpr std::size_t kTriggerLevel =
    22;  // i16, trigger level of CH1 / CH2 (0..199); EXT uses CH1's
inline constexpr std::size_t kAltTimeBase = 36;  // i16, time-base index in ALT trigger mode
inline constexpr std::size_t kVoltsStep = 38;    // i16: 0 coarse, 1 fine
inline constexpr std::size_t kBlankMode = 40;    // i16: 1 blanks 0..end, 2 or 3 start..end
inline constexpr std::size_t kBlankStart = 42;   // i16
inline constexpr std::size_t kBlankEnd = 44;     // i16
// 32-bit fields of the record that arrive with their 16-bit halves exchanged.
inline constexpr std::array<std::size_t, 3> kHalfSwapped = {16, 24, 32};
}  // namespace channel

// Math settings: four u32.
inline constexpr std::size_t kMathOperatorSettings =
    392;                                          // low 16 bits: 0 A+B, 1 A-B, 2 AxB, 3 A/B, 4 FFT
inline constexpr std::size_t kMathSourceA = 396;  // u32: 0 CH1, 1 CH2
inline constexpr std::size_t kMathSourceB = 400;  // u32: 0 CH1, 1 CH2
inline constexpr std::size_t kFftDbPerDivision = 404;  // u32: index of 1, 2, 5, 10, 20, 50, 100 dB

// Trigger records: main, then the alternate trigger of channel 0 and of channel 1.
inline constexpr std::size_t kTriggerRecordSize = 16;
inline constexpr std::size_t kMainTrigger = 408;
constexpr std::size_t altTriggerRecord(int alt) {
    return 424 + kTriggerRecordSize * static_cast<std::size_t>(alt);
}
namespace trigger {
inline constexpr std::size_t kType = 0;             // u16: 0 Edge, 1 Pulse (alternate records)
inline constexpr std::size_t kSource = 2;           // u16
inline constexpr std::size_t kSweep = 4;            // u16: 0 AUTO, 1 NORMAL, 2 SINGLE
inline constexpr std::size_t kSlope = 6;            // u16: 0 rising, 1 falling
inline constexpr std::size_t kHfReject = 8;         // u16, 1 when HF rejection is on
inline constexpr std::size_t kPulseCondition = 10;  // u16: 0 +Less .. 5 -More
inline constexpr std::size_t kPulseWidth = 12;      // u32, units of 5 ns; half-swapped
}  // namespace trigger

// Waveform records: how each trace is laid across the grid.  300 horizontal
// units span the grid; sample i stands at (origin + i * step) / 1000 units.
inline constexpr std::size_t kWaveformRecordSize = 16;
constexpr std::size_t waveformRecord(int waveform) {
    return 456 + kWaveformRecordSize * static_cast<std::size_t>(waveform);
}
namespace waveform {
inline constexpr std::size_t kStep = 0;         // u32, thousandths of a unit per sample
inline constexpr std::size_t kOrigin = 4;       // u32, thousandths of a unit
inline constexpr std::size_t kSampleCount = 8;  // u32, points to draw, at most 1200
inline constexpr std::size_t kVector = 12;      // u16, 1 joins the points with lines
inline constexpr std::array<std::size_t, 3> kHalfSwapped = {0, 4, 8};
}  // namespace waveform

inline constexpr std::size_t kTimeBase = 520;  // i16, index when the trigger mode is not ALT
inline constexpr std::size_t kHorizontalTrigger = 522;  // i16, 0..300, 150 the grid centre
inline constexpr std::size_t kRunStop = 524;            // i16, non-zero while stopped
inline constexpr std::size_t kFftSource = 526;          // i16: 0 CH1, 1 CH2
inline constexpr std::size_t kTriggerMode = 528;        // i16: 0 Edge, 1 Pulse, 2 ALT
inline constexpr std::size_t kFftWindow =
    530;  // i16: 0 Rectangle, 1 Hanning, 2 Hamming, 3 Blackman
inline constexpr std::size_t kDisplayFormat = 532;  // i16: 0 Y-T, 1 X-Y, 2 Roll
inline constexpr std::size_t kFftScale = 534;       // i16: 0 Vrms, 1 dBVrms

// Traces: 1200 i16 samples each.
constexpr std::size_t traceSamples(int waveform) {
    return 548 + kSamplesPerTrace * 2 * static_cast<std::size_t>(waveform);
}
static_assert(traceSamples(kWaveformCount) == kBlockSize);

// Every block offset whose u32 arrives with its halves exchanged, in ascending order.
inline constexpr auto kHalfSwappedOffsets = [] {
    std::array<std::size_t, 4 * 3 + 4 * 3 + 3 + 4 * 3> offsets{};
    std::size_t n = 0;
    for (int c = 0; c < kWaveformCount; ++c)
        for (std::size_t f : channel::kHalfSwapped) offsets[n++] = firstChannelRecord(c) + f;
    for (int c = 0; c < kWaveformCount; ++c)
        for (std::size_t f : channel::kHalfSwapped) offsets[n++] = secondChannelRecord(c) + f;
    offsets[n++] = kMainTrigger + trigger::kPulseWidth;
    for (int a = 0; a < 2; ++a) offsets[n++] = altTriggerRecord(a) + trigger::kPulseWidth;
    for (int w = 0; w < kWaveformCount; ++w)
        for (std::size_t f : waveform::kHalfSwapped) offsets[n++] = waveformRecord(w) + f;
    return offsets;
}();

}  // namespace zelvo::layout
