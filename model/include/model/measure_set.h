// The scope window's automatic measurements: eight slots, each a kind on a
// channel, recomputed from the displayed setting block after every
// acquisition tick.  The zelvo client measures through the same pass, so a
// result never differs between the window and a script.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "model/measure_kinds.h"
#include "model/measure_library.h"
#include "model/scope_settings.h"
#include "model/setting_block.h"

namespace oscilane {

// What one measurement shows and, where it has one, its value in base SI
// units (volts at the probe tip, seconds, hertz, plain fractions).
struct MeasureResult {
    std::string text;  // label and value, without the channel prefix
    std::optional<double> value;
};

struct MeasureSlot {
    bool enabled = false;
    WaveChannel channel = kCh1;  // kCh1, kCh2 or kMath
    MeasureKind kind = MeasureKind::Vpp;
    // Changes whenever the slot is given a measurement, so a reader can tell
    // a new measurement from the one it saw before (statistics restart).
    uint32_t serial = 0;
    // The slot measures the overlaid saved trace instead of a channel of
    // the displayed block (channel is then not used).
    bool overlay = false;
};

// The records the library fills for each channel, and the arguments the
// application passes with them.  Filled once per pass; then any number of
// results are read from it.
class MeasurePass {
  public:
    static constexpr int kSamples = 1200;
    static constexpr int kFullCode = 255;

    explicit MeasurePass(const MeasureLibrary& library) : library_(library) {}

    // Reads the channels from the block; calls PreMeas and FindPeriod for
    // each channel that is switched on.  A channel that is off keeps empty
    // records, so no result of an earlier frame reaches a delay.
    void prepare(const ScopeSettings& settings);

    // The result of a kind on a channel (0..2) of the prepared block.
    MeasureResult result(int channel, MeasureKind kind) const;

    // Seconds between samples for a measurement on the channel: MATH its
    // own; CH1 and CH2 their own in ALT trigger mode, else the main one.
    double sampleInterval(int channel) const;

  private:
    struct Channel {
        bool on = false;
        int zero = 0;            // trunc(lever * 255 / 199)
        double factor = 0;       // millivolts per division at 1X
        int probeIndex = 0;      // for the voltage text
        double ownInterval = 0;  // seconds, from the channel's own time base
        std::array<short, kSamples> samples{};
        std::array<unsigned char, 10> high{};
        std::array<unsigned char, 10> low{};
        std::array<unsigned char, 12> period{};
    };
    static std::size_t index(int channel) { return static_cast<std::size_t>(channel); }
    MeasureResult voltage(const Channel& c, double millivolts) const;
    // Delays pair CH1 with CH2 whatever channel the slot measures.
    double delayInterval(int channel) const;

    const MeasureLibrary& library_;
    std::array<Channel, kMeasureChannelCount> channels_{};
    double mainInterval_ = 0;
    bool alt_ = false;
};

// "CH1:", "CH2:", "MATH:" or "OVL:" before the slot's text.
const char* MeasureSlotPrefix(const MeasureSlot& slot);

class MeasureSet {
  public:
    explicit MeasureSet(const MeasureLibrary& library = mensylLibrary());

    // Adds a measurement of the kind on the current channel; the ninth drops
    // the oldest and the others move down one slot.
    void add(MeasureKind kind);
    // Disables every slot and sets every text to "*****".
    void clear();
    // kCh1, kCh2 or kMath; any other value is ignored.
    void setCurrentChannel(int channel);
    WaveChannel currentChannel() const { return currentChannel_; }
    // New measurements go on the overlaid saved trace, until a channel is chosen.
    void setCurrentOverlay() { currentOverlay_ = true; }
    bool currentIsOverlay() const { return currentOverlay_; }
    // The block that holds the overlaid saved trace (its first CH1, CH2 or
    // MATH trace is measured); none while nothing is overlaid, when the
    // overlay slots read "*****".
    void setOverlay(std::optional<SettingBlock> block) { overlay_ = std::move(block); }
    int activeCount() const { return activeCount_; }

    // Recomputes the active slots from the block; with no active slot it
    // does nothing at all, the library is not called.
    void compute(const SettingBlock& block);

    const MeasureSlot& slot(int k) const { return slots_[static_cast<std::size_t>(k)]; }
    // Prefix and result, as the display draws it.
    const std::string& text(int k) const { return texts_[static_cast<std::size_t>(k)]; }
    // The value of the slot's last computation; none when it had none.
    std::optional<double> value(int k) const { return values_[static_cast<std::size_t>(k)]; }

  private:
    MeasureResult overlayResult(MeasureKind kind, bool& prepared);

    MeasurePass pass_;
    MeasurePass overlayPass_;
    std::optional<SettingBlock> overlay_;
    std::optional<int> overlayChannel_;
    int activeCount_ = 0;
    WaveChannel currentChannel_ = kCh1;
    bool currentOverlay_ = false;
    uint32_t nextSerial_ = 1;
    std::array<MeasureSlot, kMeasureSlotCount> slots_{};
    std::array<std::string, kMeasureSlotCount> texts_{};
    std::array<std::optional<double>, kMeasureSlotCount> values_{};
};

// All 22 results of one channel of a block, in kind order, as the client
// prints them: each text with its channel prefix.
std::array<MeasureResult, kMeasureKindCount> measureChannel(
    const SettingBlock& block, int channel, const MeasureLibrary& library = mensylLibrary());

// A value in the client's CSV: a plain decimal or exponent form in the C
// locale with nine significant digits; empty for none.
std::string MeasureCsvValue(std::optional<double> value);

}  // namespace oscilane
