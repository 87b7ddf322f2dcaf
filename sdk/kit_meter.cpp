#include "kit_meter.h"

#include <cstddef>

#include "protocol/meter_codec.h"

namespace zelvo::kit {

static_assert(sizeof(KitDmmInfo) == 36);
static_assert(offsetof(KitDmmInfo, digits) == 12);
static_assert(offsetof(KitDmmInfo, value) == 16);
static_assert(offsetof(KitDmmInfo, auxValue) == 28);
static_assert(sizeof(KitSettings) == 484);
static_assert(sizeof(KitChannelRecord) == 40);
static_assert(offsetof(KitSettings, captured) == 164);
static_assert(offsetof(KitSettings, math) == 328);
static_assert(offsetof(KitSettings, waveforms) == 392);
static_assert(offsetof(KitSettings, timeBase) == 456);
static_assert(offsetof(KitSettings, setting476) == 476);
static_assert(offsetof(KitSettings, setting480) == 480);

bool decodeKitMeterReading(std::span<const uint8_t, kKitMeterBlockSize> b, KitDmmInfo& info) {
    // The first bytes read as the link library's reading; fields the reading
    // does not determine keep the values the caller's record holds.
    DmmInfo shared{};
    shared.decimalScale = info.decimalScale;
    shared.rangeIndex = info.rangeIndex;
    shared.milliamps = info.milliamps;
    if (!decodeMeterReading(b.first<kMeterBlockSize>(), shared)) return false;

    info.measureMode = shared.measureMode;
    info.overload = shared.overload;
    info.ac = shared.ac;
    info.manualRange = shared.manualRange;
    info.rel = shared.rel;
    info.rangeIndex = shared.rangeIndex;
    info.milliamps = shared.milliamps;
    info.barValue = shared.barValue;
    info.barSign = shared.barSign;
    info.zero[0] = info.zero[1] = info.zero[2] = 0;
    if (!shared.overload) {
        for (std::size_t i = 0; i < 4; ++i)
            info.digits[i] = static_cast<uint8_t>(b[meter_block::kDigits + i] - '0');
        info.negative = b[meter_block::kSign] != '+' ? 1 : 0;
    }
    info.value = shared.value;
    info.decimalScale = static_cast<uint8_t>(shared.decimalScale);
    info.prefixIndex = static_cast<uint8_t>(shared.prefixIndex);
    info.unitIndex = static_cast<uint8_t>(shared.unitIndex);

    // The auxiliary number: four digit values, a decimal type and a sign byte.
    for (std::size_t i = 0; i < 4; ++i) info.auxDigits[i] = b[15 + i];
    float aux = static_cast<float>(1000 * b[15] + 100 * b[16] + 10 * b[17] + b[18]);
    info.auxDecimalType = b[19] == 4 ? 3 : b[19];
    switch (info.auxDecimalType) {
        case 1:
            aux *= 0.001f;
            break;
        case 2:
            aux *= 0.01f;
            break;
        case 3:
            aux *= 0.1f;
            break;
        default:
            break;
    }
    if (b[22] == 1) aux *= -1.0f;
    info.auxValue = aux;
    info.auxByteB = b[21];
    info.auxByteA = b[20];
    info.auxSign = b[22];
    return true;
}

}  // namespace zelvo::kit
