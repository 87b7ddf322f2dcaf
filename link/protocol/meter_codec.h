// Decoding of the 22-byte meter reading block (block code 8).
#pragma once

#include <cstdint>
#include <span>

#include "zelvo/command_codes.h"
#include "zelvo/zelvo_common.h"

namespace zelvo {

// Bytes and flag bits of the meter reading block.
namespace meter_block {
inline constexpr std::size_t kSign = 1;          // '+' positive, anything else negative
inline constexpr std::size_t kDigits = 2;        // four ASCII digits, most significant first
inline constexpr std::size_t kDecimalPoint = 7;  // '0', '1', '2' or '4'
inline constexpr std::size_t kRangeFlags = 8;
inline constexpr uint8_t kAutoRange = 1 << 5, kDc = 1 << 4, kRelative = 1 << 2;
inline constexpr std::size_t kNanoFlags = 9;
inline constexpr uint8_t kNano = 1 << 1;
inline constexpr std::size_t kPrefixFlags = 10;
inline constexpr uint8_t kMicro = 1 << 7, kMilli = 1 << 6, kKilo = 1 << 5, kMega = 1 << 4,
                         kContinuity = 1 << 3, kDiode = 1 << 2;
inline constexpr std::size_t kUnitFlags = 11;
inline constexpr uint8_t kVolt = 1 << 7, kAmpere = 1 << 6, kOhm = 1 << 5, kFarad = 1 << 2;
inline constexpr std::size_t kBar = 12;       // bits 0-6 value, bit 7 sign
inline constexpr std::size_t kAuxCount = 15;  // u32
inline constexpr std::size_t kAuxC = 19, kAuxA = 20, kAuxB = 21;
}  // namespace meter_block

enum MeterMode : uint8_t {
    kModeVoltage = 0,
    kModeCurrent = 1,
    kModeResistance = 2,
    kModeDiode = 3,
    kModeContinuity = 4,
    kModeCapacitance = 5,
};

// Decodes a reading into info.  Returns false, leaving info untouched, when the
// block shows no known measure mode.  Fields the reading does not determine
// (range index in auto range, the mA flag outside current mode, an unknown
// decimal point) keep their previous values, as the meter display expects.
bool decodeMeterReading(std::span<const uint8_t, kMeterBlockSize> block, DmmInfo& info);

}  // namespace zelvo
