// Reads the instrument's settings out of a setting block.  Every reader goes
// through the block layout; nothing here writes into the block, since the
// instrument's next upload is the only source of a setting.
#pragma once

#include <cstdint>

#include "model/setting_block.h"

namespace oscilane {

// Waveforms and channel records, numbered as the block and the instrument
// number them; the numbers also index per-channel tables.
enum WaveChannel : int { kCh1 = 0, kCh2 = 1, kMath = 2, kRef = 3 };

enum class TriggerMode { Edge = 0, Pulse = 1, Alt = 2 };
enum class DisplayFormat { YT = 0, XY = 1, Roll = 2 };
inline constexpr int kFftOperator = 4;
inline constexpr int kExtSource = 2;

class ScopeSettings {
  public:
    explicit ScopeSettings(const SettingBlock& block) : block_(block) {}

    // Settings in force now (the first channel records).
    bool shown(int channel) const;
    int voltsIndex(int channel) const;
    int coupling(int channel) const;
    int probe(int channel) const;
    uint32_t voltsValue10uV(int channel) const;  // volts/div of a 1X probe
    int position(int channel) const;             // lever 0 (top) .. 199
    int triggerLevel(int channel) const;         // CH1, CH2; 0..199
    int altTimeBase(int channel) const;
    // Settings in force when the shown data was captured (second records).
    uint32_t capturedVoltsValue10uV(int channel) const;
    int capturedPosition(int channel) const;

    // Samples i with first <= i <= last are not joined to the trace.
    struct BlankInterval {
        int first;
        int last;
        bool operator==(const BlankInterval&) const = default;
    };
    BlankInterval blankInterval(int waveform) const;

    // How a trace lies across the grid.
    uint32_t stepMilliUnits(int waveform) const;
    uint32_t originMilliUnits(int waveform) const;
    // The points to draw: the block's count, never more than a trace holds.
    int pointCount(int waveform) const;
    bool vector(int waveform) const;
    // Sample code i of a trace: 0..255 on the grid; anything else is no point.
    int sample(int waveform, int i) const;

    int mathOperator() const;
    int fftDbIndex() const;
    int fftSource() const;
    int fftScale() const;  // 0 linear, otherwise dB

    int triggerSource() const;
    int sweep() const;
    int edgeSlope() const;
    int pulseCondition() const;
    uint32_t pulseWidth5ns() const;
    int altType(int alt) const;
    int altEdgeSlope(int alt) const;
    int altPulseCondition(int alt) const;
    uint32_t altPulseWidth5ns(int alt) const;

    int timeBase() const;  // outside ALT trigger mode
    int horizontalTrigger() const;
    bool running() const;  // live data: the run/stop word is 0
    int triggerModeValue() const;
    bool altTrigger() const { return triggerModeValue() == static_cast<int>(TriggerMode::Alt); }
    int formatValue() const;
    bool isFormat(DisplayFormat f) const { return formatValue() == static_cast<int>(f); }

    // The time base that applies to channel 0 or 1: its own in ALT mode, else the common one.
    int timeBaseOf(int channel) const { return altTrigger() ? altTimeBase(channel) : timeBase(); }
    // The time base a trace's samples were taken with: MATH keeps its own in
    // every trigger mode, CH1 and CH2 follow timeBaseOf, REF the common one.
    int traceTimeBase(int waveform) const;

  private:
    int u16(std::size_t at) const { return block_[at] | block_[at + 1] << 8; }
    int i16(std::size_t at) const { return static_cast<int16_t>(static_cast<uint16_t>(u16(at))); }
    uint32_t u32(std::size_t at) const;

    const SettingBlock& block_;
};

// Defined here so the drawing loops, which read every point of every frame, inline it.
inline int ScopeSettings::sample(int w, int i) const {
    return i16(zelvo::layout::traceSamples(w) + 2 * static_cast<std::size_t>(i));
}

}  // namespace oscilane
