#include "device_info_codec.h"

#include "byte_order.h"

#include <cstddef>

namespace zelvo {

// The record crosses the library boundary with the platform's natural alignment.
static_assert(offsetof(DeviceInfo, name) == 0);
static_assert(offsetof(DeviceInfo, serialNumber) == 20);
static_assert(offsetof(DeviceInfo, identification) == 40);
static_assert(offsetof(DeviceInfo, date) == 52);
static_assert(sizeof(DeviceInfo) == 56);

namespace {

constexpr std::size_t kWordCount = kDeviceInfoBlockSize / 2;

// One character per word (its low byte), up to the first zero word, at most 19 characters.
template <std::size_t N>
void copyWordText(std::span<const uint8_t> block, std::size_t firstWord, char (&text)[N]) {
    std::size_t n = 0;
    for (std::size_t w = firstWord; w < kWordCount && n + 1 < N; ++w) {
        const uint16_t word = loadLe16(block, 2 * w);
        if (word == 0) break;
        text[n++] = static_cast<char>(word & 0xFF);
    }
    text[n] = '\0';
}

}  // namespace

DeviceInfo decodeDeviceInfo(std::span<const uint8_t, kDeviceInfoBlockSize> block) {
    namespace w = device_info_words;
    auto word = [&](std::size_t k) { return static_cast<uint32_t>(loadLe16(block, 2 * k)); };
    DeviceInfo info{};
    copyWordText(block, w::kName, info.name);
    copyWordText(block, w::kSerialNumber, info.serialNumber);
    for (std::size_t k = 0; k < 5; ++k)
        info.identification[k] = static_cast<uint16_t>(word(w::kIdentification[k]));
    // Raw-word form of 2000 + year, month, day from ASCII digits: subtracting the
    // '0' offsets folds into the constant, so non-digit words still give a defined value.
    info.date = 65536u * (10u * word(w::kYearTens) + word(w::kYearUnits)) +
                256u * (10u * word(w::kMonthTens) + word(w::kMonthUnits)) +
                (10u * word(w::kDayTens) + word(w::kDayUnits)) + 96333296u;
    return info;
}

}  // namespace zelvo
