// One trace of a setting block as numbers: its 1200 sample codes, what each
// stands for in volts, the time between samples and the channel settings a
// reader of the numbers needs.  Waveform files, cursors, reports,
// measurements and the command-line client all read traces through it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "model/setting_block.h"

namespace oscilane {

class Waveform {
  public:
    static constexpr int kSamples = static_cast<int>(zelvo::layout::kSamplesPerTrace);

    // Trace 0 CH1, 1 CH2, 2 MATH or 3 REF of the block.
    Waveform(const SettingBlock& block, int channel);

    int channel() const { return channel_; }
    bool shown() const { return shown_; }
    int probeIndex() const { return probeIndex_; }
    int probeFactor() const { return probeFactor_; }
    // Millivolts per division of the channel's volts index; none outside the table.
    std::optional<double> millivoltsPerDivision() const { return millivoltsPerDivision_; }
    int timeBaseIndex() const { return timeBaseIndex_; }
    // Seconds between two samples; none for a time base outside the table.
    std::optional<double> sampleInterval() const { return sampleInterval_; }

    int code(int i) const { return codes_[static_cast<std::size_t>(i)]; }
    // The instrument blanked sample i (code 32767): it has no place on the screen.
    bool blank(int i) const;
    // The voltage of sample i at the probe tip, by the display's conversion;
    // a blanked sample has none (test blank() first): its code is converted
    // like any other.  0 when the volts index is outside the table.
    double volts(int i) const;

  private:
    int channel_;
    bool shown_;
    int probeIndex_;
    int probeFactor_;
    int lever_;
    std::optional<double> millivoltsPerDivision_;
    int timeBaseIndex_;
    std::optional<double> sampleInterval_;
    std::array<int16_t, kSamples> codes_{};
};

}  // namespace oscilane
