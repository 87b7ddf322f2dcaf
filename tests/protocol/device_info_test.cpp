#include <gtest/gtest.h>

#include <array>
#include <string>

#include "protocol/byte_order.h"
#include "protocol/device_info_codec.h"

namespace zelvo {
namespace {

namespace w = device_info_words;

struct InfoBlock {
    std::array<uint8_t, kDeviceInfoBlockSize> bytes{};
    void word(std::size_t k, uint16_t v) { storeLe16(bytes, 2 * k, v); }
    void text(std::size_t first, const std::string& s) {
        for (std::size_t i = 0; i < s.size(); ++i) word(first + i, static_cast<uint8_t>(s[i]));
    }
    void date(const char digits[6]) {  // words 55, 54, 47, 48, 50, 51
        const std::size_t order[6] = {w::kYearTens,   w::kYearUnits, w::kMonthTens,
                                      w::kMonthUnits, w::kDayTens,   w::kDayUnits};
        for (int i = 0; i < 6; ++i) word(order[i], static_cast<uint8_t>(digits[i]));
    }
    DeviceInfo decode() const { return decodeDeviceInfo(bytes); }
};

TEST(DeviceInfo, DecodesTextsIdentificationAndDate) {
    InfoBlock b;
    b.text(w::kName, "Zelvo");
    b.text(w::kSerialNumber, "SN123");
    const uint16_t ids[5] = {0x1111, 0x2222, 0x3333, 0x4444, 0x5555};
    for (int k = 0; k < 5; ++k) b.word(w::kIdentification[k], ids[k]);
    b.date("091231");
    const DeviceInfo info = b.decode();
    EXPECT_STREQ(info.name, "Zelvo");
    EXPECT_STREQ(info.serialNumber, "SN123");
    for (int k = 0; k < 5; ++k) EXPECT_EQ(info.identification[k], ids[k]);
    EXPECT_EQ(info.date, 2009u * 65536 + 12 * 256 + 31);
}

TEST(DeviceInfo, TextStopsAtTheFirstZeroWordAndAtNineteenCharacters) {
    InfoBlock b;
    b.text(w::kSerialNumber, "ABCDEFGHIJKLMNOPQRSTUVWX");  // runs into the name's words
    b.word(w::kName, 0);
    const DeviceInfo info = b.decode();
    EXPECT_STREQ(info.name, "");
    EXPECT_EQ(std::string(info.serialNumber), "ABCDEFGHIJKLMNOPQRS");
}

TEST(DeviceInfo, TextUsesOnlyTheLowByteOfEachWord) {
    InfoBlock b;
    b.word(w::kName, 0x4100 | 'Z');
    b.word(w::kName + 1, 0x0100 | 'v');
    EXPECT_STREQ(b.decode().name, "Zv");
}

TEST(DeviceInfo, NonDigitDateWordsFollowTheRawWordArithmetic) {
    InfoBlock b;  // every date word 0: each digit is -48
    const uint32_t expected = 96333296u;
    EXPECT_EQ(b.decode().date, expected);
    b.date("A0?1:2");
    const auto v = [](char c) { return static_cast<uint32_t>(static_cast<uint8_t>(c)); };
    EXPECT_EQ(b.decode().date, 65536u * (10 * v('A') + v('0')) + 256u * (10 * v('?') + v('1')) +
                                   (10 * v(':') + v('2')) + 96333296u);
}

}  // namespace
}  // namespace zelvo
