// The kit's own oscilloscope exports: indexes in its numbering, the decoded
// settings and the raw samples.
#include <algorithm>
#include <cstring>
#include <vector>

#include "core/services.h"
#include "exports/setter_helpers.h"
#include "kit_settings.h"
#include "protocol/half_word_swap.h"
#include "zelvo/sdkZelvoDLL.h"

using namespace zelvo;
using namespace zelvo::link;

namespace {

// Reads a raw-sample block and copies the requested parts of it.
int copyRawSamples(DeviceHandle h, Block block, std::size_t length,
                   std::initializer_list<std::pair<uint8_t*, uint32_t>> parts) {
    for (const auto& [dest, count] : parts)
        if (dest == nullptr && count > 0) return 1;
    std::vector<uint8_t> scratch(length);
    if (read(h, block, scratch) != Outcome::Ok) return 1;
    std::size_t at = 0;
    for (const auto& [dest, count] : parts) {
        // The block holds 32768 samples per channel; a larger count would read past it.
        const std::size_t n = std::min<std::size_t>(count, ZELVO_KIT_RAW_SAMPLES_MAX);
        if (n > 0) std::memcpy(dest, scratch.data() + at, n);
        at += ZELVO_KIT_RAW_SAMPLES_MAX;
    }
    return 0;
}

}  // namespace

extern "C" {

ZELVO_API int ZELVO_CALL DSOSetVOLTDIV(DeviceHandle h, int32_t channel, int32_t value) {
    return setPair(h, Command::VoltsPerDivision, channel, value + kit::kVoltsIndexOffset);
}

ZELVO_API int ZELVO_CALL DSOSetTimeBase(DeviceHandle h, int32_t selector, int32_t value) {
    return setPair(h, Command::TimeBase, selector, value + kit::kTimeBaseOffset);
}

ZELVO_API int ZELVO_CALL DSOSetBW20M(DeviceHandle h, int32_t channel, int32_t value) {
    return setPair(h, Command::BandwidthLimit, channel, value);
}

ZELVO_API int ZELVO_CALL DSOGetAllSetting(DeviceHandle h, KitSettings* settings, int16_t* ch1,
                                          int16_t* ch2, int16_t* math, int16_t* ref) {
    if (!settings || !ch1 || !ch2 || !math || !ref) return 1;
    std::vector<uint8_t> block(layout::kBlockSize);
    if (read(h, Block::Setting, block) != Outcome::Ok) return 1;
    const kit::SettingBlock view(block.data(), layout::kBlockSize);
    swapHalfSwappedFields(view);
    constexpr std::size_t n = layout::kSamplesPerTrace;
    kit::decodeAllSettings(
        view, *settings,
        {kit::Trace(ch1, n), kit::Trace(ch2, n), kit::Trace(math, n), kit::Trace(ref, n)});
    return 0;
}

ZELVO_API int ZELVO_CALL DSOGetCh12Data(DeviceHandle h, uint8_t* ch1, uint8_t* ch2, uint32_t count1,
                                        uint32_t count2) {
    return copyRawSamples(h, Block::RawChannels, kRawChannelsBlockSize,
                          {{ch1, count1}, {ch2, count2}});
}

ZELVO_API int ZELVO_CALL DSOGetChREFData(DeviceHandle h, uint8_t* ref, uint32_t count) {
    return copyRawSamples(h, Block::RawReference, kRawReferenceBlockSize, {{ref, count}});
}

}  // extern "C"
