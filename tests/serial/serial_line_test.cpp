#include "protocol/serial_line.h"

#include <gtest/gtest.h>

namespace zelvo {
namespace {

// A port as a fresh Linux terminal comes: line editing, echo, translations,
// software flow control, and line settings unlike the instrument's.
termios cookedTerminal() {
    termios t{};
    t.c_iflag = ICRNL | IXON | IXOFF | ISTRIP | INPCK;
    t.c_oflag = OPOST | ONLCR;
    t.c_cflag = CS7 | PARENB | CSTOPB | CRTSCTS | HUPCL;
    t.c_lflag = ICANON | ECHO | ECHOE | ISIG | IEXTEN;
    t.c_cc[VINTR] = 3;
    cfsetispeed(&t, B38400);
    cfsetospeed(&t, B38400);
    return t;
}

class LineSettingsAtIndex : public ::testing::TestWithParam<uint16_t> {};

TEST_P(LineSettingsAtIndex, GiveTheRateEightOddOneAndABinaryLine) {
    const uint16_t index = GetParam();
    const auto t = lineSettings(cookedTerminal(), index, true);
    ASSERT_TRUE(t);
    EXPECT_EQ(baudOfSpeed(cfgetospeed(&*t)), kBaudRates[index]);
    EXPECT_EQ(baudOfSpeed(cfgetispeed(&*t)), kBaudRates[index]);
    EXPECT_EQ(t->c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t->c_cflag & (PARENB | PARODD), static_cast<tcflag_t>(PARENB | PARODD));
    EXPECT_EQ(t->c_cflag & (CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(t->c_cflag & (CREAD | CLOCAL), static_cast<tcflag_t>(CREAD | CLOCAL));
    EXPECT_EQ(t->c_iflag & (ICRNL | IXON | IXOFF | ISTRIP), 0u);
    EXPECT_EQ(t->c_oflag & OPOST, 0u);
    EXPECT_EQ(t->c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    // What has nothing to do with the link is kept.
    EXPECT_TRUE(t->c_cflag & HUPCL);
    EXPECT_TRUE(t->c_iflag & INPCK);
    EXPECT_EQ(t->c_cc[VINTR], 3);
}

INSTANTIATE_TEST_SUITE_P(BaudIndex, LineSettingsAtIndex, ::testing::Range<uint16_t>(0, 6));

TEST(LineSettings, WithoutParityLeavesParityOff) {
    const auto t = lineSettings(cookedTerminal(), 5, false);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->c_cflag & (PARENB | PARODD), 0u);
    EXPECT_EQ(baudOfSpeed(cfgetospeed(&*t)), 9600u);
}

TEST(LineSettings, RefuseAnIndexOutsideTheTable) {
    EXPECT_FALSE(lineSettings(cookedTerminal(), 6, true));
    EXPECT_FALSE(baudRate(6));
    EXPECT_FALSE(baudOfSpeed(B38400));
}

TEST(LineTime, CountsElevenBitsACharacter) {
    EXPECT_EQ(lineTime(4, 300), std::chrono::microseconds(146'666));
    EXPECT_EQ(lineTime(9600, 9600), std::chrono::seconds(11));
}

}  // namespace
}  // namespace zelvo
