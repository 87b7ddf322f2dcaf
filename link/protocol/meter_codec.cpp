#include "meter_codec.h"

#include <optional>

#include "byte_order.h"

#include <cstddef>

namespace zelvo {

// The record crosses the library boundary with the platform's natural alignment.
static_assert(offsetof(DmmInfo, measureMode) == 0);
static_assert(offsetof(DmmInfo, overload) == 1);
static_assert(offsetof(DmmInfo, value) == 4);
static_assert(offsetof(DmmInfo, decimalScale) == 8);
static_assert(offsetof(DmmInfo, prefixIndex) == 12);
static_assert(offsetof(DmmInfo, unitIndex) == 16);
static_assert(offsetof(DmmInfo, ac) == 20);
static_assert(offsetof(DmmInfo, manualRange) == 21);
static_assert(offsetof(DmmInfo, rel) == 22);
static_assert(offsetof(DmmInfo, rangeIndex) == 23);
static_assert(offsetof(DmmInfo, milliamps) == 24);
static_assert(offsetof(DmmInfo, barValue) == 25);
static_assert(offsetof(DmmInfo, barSign) == 26);
static_assert(offsetof(DmmInfo, auxValue) == 28);
static_assert(offsetof(DmmInfo, auxA) == 32);
static_assert(offsetof(DmmInfo, auxB) == 33);
static_assert(offsetof(DmmInfo, auxC) == 34);
static_assert(sizeof(DmmInfo) == 36);

namespace {

namespace mb = meter_block;

std::optional<uint8_t> measureMode(std::span<const uint8_t> b) {
    if (b[mb::kPrefixFlags] & mb::kContinuity) return kModeContinuity;
    if (b[mb::kPrefixFlags] & mb::kDiode) return kModeDiode;
    if (b[mb::kUnitFlags] & mb::kFarad) return kModeCapacitance;
    if (b[mb::kUnitFlags] & mb::kVolt) return kModeVoltage;
    if (b[mb::kUnitFlags] & mb::kAmpere) return kModeCurrent;
    if (b[mb::kUnitFlags] & mb::kOhm) return kModeResistance;
    return std::nullopt;
}

int32_t prefixIndex(std::span<const uint8_t> b) {
    if (b[mb::kNanoFlags] & mb::kNano) return 1;
    const uint8_t p = b[mb::kPrefixFlags];
    if (p & mb::kMicro) return 2;
    if (p & mb::kMilli) return 3;
    if (p & mb::kKilo) return 4;
    if (p & mb::kMega) return 5;
    return 7;
}

int32_t unitIndex(std::span<const uint8_t> b) {
    const uint8_t u = b[mb::kUnitFlags];
    if (u & mb::kVolt) return 0;
    if (u & mb::kAmpere) return 1;
    if (u & mb::kOhm) return 2;
    if (u & mb::kFarad) return 3;
    return 0;
}

// The displayed number and its decimal scale; digits outside '0'..'9' below '0'
// enter as negative digit values, as the instrument's firmware computes them.
void decodeValue(std::span<const uint8_t> b, DmmInfo& info) {
    for (std::size_t i = 0; i < 4; ++i) {
        if (b[mb::kDigits + i] > '9') {
            info.overload = 1;
            info.value = 0.0f;
            return;
        }
    }
    info.overload = 0;
    const int digits = 1000 * b[2] + 100 * b[3] + 10 * b[4] + b[5] - 53328;
    float value = static_cast<float>(digits);
    switch (b[mb::kDecimalPoint]) {
        case '0':
            info.decimalScale = 0;
            break;
        case '1':
            info.decimalScale = 1;
            value *= 0.001f;
            break;
        case '2':
            info.decimalScale = 2;
            value *= 0.01f;
            break;
        case '4':
            info.decimalScale = 3;
            value *= 0.1f;
            break;
        default:
            break;
    }
    if (b[mb::kSign] != '+') value *= -1.0f;
    info.value = value;
}

void decodeManualRange(std::span<const uint8_t> b, DmmInfo& info) {
    const uint8_t d = b[mb::kDecimalPoint];
    switch (info.measureMode) {
        case kModeVoltage:
            if (b[mb::kPrefixFlags] & mb::kMilli) {
                info.rangeIndex = d == '2' ? 0 : 1;
            } else {
                switch (d) {
                    case '0':
                        info.rangeIndex = 5;
                        break;
                    case '1':
                        info.rangeIndex = 2;
                        break;
                    case '2':
                        info.rangeIndex = 3;
                        break;
                    case '4':
                        info.rangeIndex = 4;
                        break;
                    default:
                        break;
                }
            }
            break;
        case kModeCurrent:
            info.rangeIndex = d == '2' ? 0 : 1;
            break;
        case kModeResistance:
            if (info.prefixIndex == 4)
                info.rangeIndex = d == '1' ? 1 : d == '2' ? 2 : 3;
            else if (info.prefixIndex == 5)
                info.rangeIndex = d == '1' ? 4 : 5;
            else
                info.rangeIndex = 0;
            break;
        default:
            break;
    }
}

}  // namespace

bool decodeMeterReading(std::span<const uint8_t, kMeterBlockSize> b, DmmInfo& info) {
    const std::optional<uint8_t> mode = measureMode(b);
    if (!mode) return false;
    info.measureMode = *mode;
    if (*mode == kModeCurrent) info.milliamps = (b[mb::kPrefixFlags] & mb::kMilli) ? 1 : 0;
    decodeValue(b, info);
    info.prefixIndex = prefixIndex(b);
    info.unitIndex = unitIndex(b);
    const uint8_t range = b[mb::kRangeFlags];
    info.ac = (range & mb::kDc) ? 0 : 1;
    info.manualRange = (range & mb::kAutoRange) ? 0 : 1;
    info.rel = (range & mb::kRelative) ? 1 : 0;
    info.barValue = b[mb::kBar] & 0x7F;
    info.barSign = b[mb::kBar] >> 7;
    if (info.manualRange) decodeManualRange(b, info);
    info.auxValue = static_cast<float>(loadLe32(b, mb::kAuxCount)) * 0.001f;
    info.auxC = b[mb::kAuxC] == 4 ? 3 : b[mb::kAuxC];
    info.auxA = b[mb::kAuxA];
    info.auxB = b[mb::kAuxB];
    return true;
}

}  // namespace zelvo
