#include "kit_settings.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "protocol/byte_order.h"
#include "zelvo/scope_tables.h"

namespace zelvo::kit {
namespace {

namespace L = layout;
namespace ch = layout::channel;
constexpr std::size_t kSamples = L::kSamplesPerTrace;

// Volts per division of a kit volts index, in the block's units of 10 uV.
constexpr float kitVoltsValue10uV(std::size_t index) {
    return tables::kMillivoltsPerDivision[index] * 100;
}
// The kit turns a lever position into a sample code with 255/200 codes per
// step (not the display's 255/199); programs built on the kit rely on it.
constexpr float kKitCodesPerLeverStep = 1.275f;

void addToI16(SettingBlock block, std::size_t at, int delta) {
    storeLe16(block, at, static_cast<uint16_t>(loadLe16(block, at) + delta));
}

// Copies a block field of n bytes to an offset of the record.
void copy(std::span<const uint8_t> block, std::size_t from, uint8_t* record, std::size_t to,
          std::size_t n) {
    std::memcpy(record + to, block.data() + from, n);
}

void repackChannel(std::span<const uint8_t> block, std::size_t from, uint8_t* record,
                   std::size_t to) {
    for (std::size_t f : {0, 2, 4, 6, 8, 10, 12}) copy(block, from + f, record, to + f, 2);
    copy(block, from + ch::kVoltsValue, record, to + 16, 4);
    copy(block, from + 20, record, to + 20, 4);  // position, trigger level
    copy(block, from + 24, record, to + 24, 2);  // low half of the u32 at 24
    copy(block, from + 28, record, to + 26, 2);
    copy(block, from + 32, record, to + 28, 2);  // low half of the u32 at 32
    for (std::size_t k = 0; k < 5; ++k) copy(block, from + 36 + 2 * k, record, to + 30 + 2 * k, 2);
}

}  // namespace

void applyKitIndexes(SettingBlock block) {
    for (int c = 0; c < L::kWaveformCount; ++c) {
        addToI16(block, L::firstChannelRecord(c) + ch::kVoltsIndex, -kVoltsIndexOffset);
        addToI16(block, L::firstChannelRecord(c) + ch::kAltTimeBase, -kTimeBaseOffset);
    }
    addToI16(block, L::kTimeBase, -kTimeBaseOffset);
}

void rescaleAndClean(SettingBlock block, int k) {
    const std::size_t first = L::firstChannelRecord(k);
    const std::size_t count = std::min<std::size_t>(
        loadLe32(block, L::waveformRecord(k) + L::waveform::kSampleCount), kSamples);
    if (count == 0) return;

    // The centre the rescaling keeps fixed: the code of CH1's position, for every trace.
    const float centre =
        static_cast<float>(tables::kLeverMax -
                           loadLeI16(block, L::firstChannelRecord(0) + ch::kPosition)) *
        kKitCodesPerLeverStep;
    const bool live = loadLeI16(block, L::kRunStop) == 0;
    bool rescale;
    int index;
    if (k == 3 || (k <= 1 && live)) {
        rescale = true;
        index = loadLeI16(block, L::secondChannelRecord(k) + ch::kVoltsIndex);
    } else {
        rescale = loadLeI16(block, first + ch::kVoltsStep) != 0;
        index = loadLeI16(block, first + ch::kVoltsIndex);
    }
    const uint32_t voltsValue = loadLe32(block, first + ch::kVoltsValue);
    // An index outside the table or a zero scale leaves the trace as it is.
    rescale = rescale && index >= 0 &&
              index < static_cast<int>(tables::kMillivoltsPerDivision.size()) && voltsValue != 0;
    const float factor = rescale ? kitVoltsValue10uV(static_cast<std::size_t>(index)) /
                                       static_cast<float>(voltsValue)
                                 : 1.0f;

    std::array<int32_t, kSamples> s{};
    for (std::size_t i = 0; i < kSamples; ++i) s[i] = loadLeI16(block, L::traceSamples(k) + 2 * i);
    if (rescale)
        for (std::size_t i = 0; i < count; ++i)
            s[i] = static_cast<int32_t>(centre + factor * (static_cast<float>(s[i]) - centre));
    for (int32_t& v : s) v = std::clamp(v, 0, 255);

    const int mode = loadLeI16(block, first + ch::kBlankMode);
    const int start = mode == 1 ? 0 : loadLeI16(block, first + ch::kBlankStart);
    const int end = loadLeI16(block, first + ch::kBlankEnd);
    if (mode >= 1 && mode <= 3)
        for (int i = std::max(start, 0); i <= std::min(end, static_cast<int>(kSamples) - 1); ++i)
            s[static_cast<std::size_t>(i)] = L::kBlankedSample;
    for (std::size_t i = 0; i < kSamples; ++i)
        storeLe16(block, L::traceSamples(k) + 2 * i, static_cast<uint16_t>(s[i]));
}

void repackSettings(std::span<const uint8_t, L::kBlockSize> block, KitSettings& out) {
    auto* record = reinterpret_cast<uint8_t*>(&out);
    for (int c = 0; c < L::kWaveformCount; ++c) {
        repackChannel(block, L::firstChannelRecord(c), record, 40 * static_cast<std::size_t>(c));
        repackChannel(block, L::secondChannelRecord(c), record,
                      164 + 40 * static_cast<std::size_t>(c));
    }
    copy(block, 192, record, 160, 2);
    copy(block, 388, record, 324, 2);
    copy(block, L::kMathOperatorSettings, record, 328, 16);
    copy(block, L::kMainTrigger, record, 344, 48);
    copy(block, L::waveformRecord(0), record, 392, 64);
    for (std::size_t k = 0; k < 9; ++k) copy(block, L::kTimeBase + 2 * k, record, 456 + 2 * k, 2);
    copy(block, 544, record, 476, 4);
    copy(block, 540, record, 480, 2);
}

void decodeAllSettings(SettingBlock block, KitSettings& out, const std::array<Trace, 4>& traces) {
    applyKitIndexes(block);
    for (int k = 0; k < L::kWaveformCount; ++k)
        if (loadLeI16(block, L::firstChannelRecord(k) + ch::kShown) == 1) rescaleAndClean(block, k);
    repackSettings(block, out);
    for (int k = 0; k < L::kWaveformCount; ++k)
        for (std::size_t i = 0; i < kSamples; ++i)
            traces[k][i] = loadLeI16(block, L::traceSamples(k) + 2 * i);
}

}  // namespace zelvo::kit
