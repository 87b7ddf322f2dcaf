#include "protocol/meter_codec.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>

namespace zelvo {
namespace {

namespace mb = meter_block;

struct Reading {
    std::array<uint8_t, kMeterBlockSize> b{};
    Reading(uint8_t unitFlags, const char* digits, char decimal, char sign = '+') {
        b[mb::kUnitFlags] = unitFlags;
        std::memcpy(&b[mb::kDigits], digits, 4);
        b[mb::kDecimalPoint] = static_cast<uint8_t>(decimal);
        b[mb::kSign] = static_cast<uint8_t>(sign);
        b[mb::kRangeFlags] = mb::kAutoRange | mb::kDc;
    }
    Reading& prefix(uint8_t flags) {
        b[mb::kPrefixFlags] = flags;
        return *this;
    }
    Reading& manual() {
        b[mb::kRangeFlags] &= static_cast<uint8_t>(~mb::kAutoRange);
        return *this;
    }
};

DmmInfo decoded(const Reading& r, DmmInfo info = {}) {
    EXPECT_TRUE(decodeMeterReading(r.b, info));
    return info;
}

TEST(MeterReading, ValueIsScaledByTheDecimalPointAndSigned) {
    struct Case {
        const char* digits;
        char decimal, sign;
        float value;
        int32_t scale;
    } cases[] = {
        {"1234", '2', '-', -12.34f, 2}, {"1234", '0', '+', 1234.0f, 0},
        {"1234", '1', '+', 1.234f, 1},  {"1234", '4', '+', 123.4f, 3},
        {"0007", '2', ' ', -0.07f, 2},  // any sign byte but '+' is negative
    };
    for (const Case& c : cases) {
        const DmmInfo info = decoded(Reading(mb::kVolt, c.digits, c.decimal, c.sign));
        EXPECT_FLOAT_EQ(info.value, c.value) << c.digits << " " << c.decimal;
        EXPECT_EQ(info.decimalScale, c.scale);
        EXPECT_EQ(info.overload, 0);
    }
}

TEST(MeterReading, UnknownDecimalPointLeavesValueUnscaledAndScaleAsItWas) {
    DmmInfo before{};
    before.decimalScale = 2;
    const DmmInfo info = decoded(Reading(mb::kVolt, "1234", '3'), before);
    EXPECT_FLOAT_EQ(info.value, 1234.0f);
    EXPECT_EQ(info.decimalScale, 2);
}

TEST(MeterReading, ALetterInTheDigitsIsAnOverloadWithoutSign) {
    const DmmInfo info = decoded(Reading(mb::kOhm, " OL ", '1', '-'));
    EXPECT_EQ(info.overload, 1);
    EXPECT_EQ(info.value, 0.0f);  // not -0: the sign is not applied
    EXPECT_FALSE(std::signbit(info.value));
}

TEST(MeterReading, ModeFollowsTheFirstMatchingFlag) {
    struct Case {
        uint8_t prefix, unit, mode;
        int32_t unitIndex;
    } cases[] = {
        {mb::kContinuity | mb::kDiode, mb::kOhm, kModeContinuity, 2},
        {mb::kDiode, mb::kVolt, kModeDiode, 0},
        {0, mb::kFarad | mb::kVolt, kModeCapacitance, 0},
        {0, mb::kVolt, kModeVoltage, 0},
        {0, mb::kAmpere, kModeCurrent, 1},
        {0, mb::kOhm, kModeResistance, 2},
        {0, mb::kFarad, kModeCapacitance, 3},
    };
    for (const Case& c : cases) {
        const DmmInfo info = decoded(Reading(c.unit, "0000", '0').prefix(c.prefix));
        EXPECT_EQ(info.measureMode, c.mode);
        EXPECT_EQ(info.unitIndex, c.unitIndex);
    }
}

TEST(MeterReading, NoKnownModeFailsAndLeavesTheRecordUntouched) {
    DmmInfo info{};
    info.value = 42.0f;
    info.rangeIndex = 3;
    Reading r(0, "1234", '2');
    EXPECT_FALSE(decodeMeterReading(r.b, info));
    EXPECT_EQ(info.value, 42.0f);
    EXPECT_EQ(info.rangeIndex, 3);
}

TEST(MeterReading, PrefixIndexFirstMatchWins) {
    struct Case {
        uint8_t nanoFlags, prefix;
        int32_t index;
    } cases[] = {{mb::kNano, mb::kMicro, 1}, {0, mb::kMicro | mb::kMilli, 2},
                 {0, mb::kMilli, 3},         {0, mb::kKilo, 4},
                 {0, mb::kMega, 5},          {0, 0, 7}};
    for (const Case& c : cases) {
        Reading r(mb::kVolt, "0000", '0');
        r.b[mb::kNanoFlags] = c.nanoFlags;
        r.prefix(c.prefix);
        EXPECT_EQ(decoded(r).prefixIndex, c.index);
    }
}

TEST(MeterReading, ManualRangeIndexByModePrefixAndDecimalPoint) {
    struct Case {
        uint8_t unit, prefix;
        char decimal;
        uint8_t range;
    } cases[] = {
        {mb::kVolt, mb::kMilli, '4', 1}, {mb::kVolt, mb::kMilli, '2', 0},
        {mb::kVolt, 0, '0', 5},          {mb::kVolt, 0, '1', 2},
        {mb::kVolt, 0, '2', 3},          {mb::kVolt, 0, '4', 4},
        {mb::kAmpere, 0, '2', 0},        {mb::kAmpere, mb::kMilli, '1', 1},
        {mb::kOhm, mb::kKilo, '1', 1},   {mb::kOhm, mb::kKilo, '2', 2},
        {mb::kOhm, mb::kKilo, '4', 3},   {mb::kOhm, mb::kMega, '1', 4},
        {mb::kOhm, mb::kMega, '2', 5},   {mb::kOhm, 0, '2', 0},
    };
    for (const Case& c : cases) {
        DmmInfo before{};
        before.rangeIndex = 9;
        const DmmInfo info =
            decoded(Reading(c.unit, "1000", c.decimal).prefix(c.prefix).manual(), before);
        EXPECT_EQ(info.manualRange, 1);
        EXPECT_EQ(info.rangeIndex, c.range)
            << int(c.unit) << " " << int(c.prefix) << " " << c.decimal;
    }
}

TEST(MeterReading, FieldsTheReadingDoesNotDetermineKeepTheirValues) {
    DmmInfo before{};
    before.rangeIndex = 4;
    before.milliamps = 1;
    const DmmInfo autoRange = decoded(Reading(mb::kVolt, "1000", '2'), before);
    EXPECT_EQ(autoRange.manualRange, 0);
    EXPECT_EQ(autoRange.rangeIndex, 4);
    EXPECT_EQ(autoRange.milliamps, 1);  // written only in current mode
    const DmmInfo unknownVoltRange = decoded(Reading(mb::kVolt, "1000", '7').manual(), before);
    EXPECT_EQ(unknownVoltRange.rangeIndex, 4);
    EXPECT_EQ(decoded(Reading(mb::kAmpere, "1000", '2'), before).milliamps, 0);
}

TEST(MeterReading, FlagsBarAndAuxiliaryFields) {
    Reading r(mb::kAmpere, "0100", '1');
    r.b[mb::kRangeFlags] = mb::kRelative;  // manual, AC, REL
    r.prefix(mb::kMilli);
    r.b[mb::kBar] = 0x80 | 42;
    r.b[15] = 0x10;
    r.b[16] = 0x27;  // 10000 counts
    r.b[mb::kAuxC] = 4;
    r.b[mb::kAuxA] = 7;
    r.b[mb::kAuxB] = 8;
    const DmmInfo info = decoded(r);
    EXPECT_EQ(info.ac, 1);
    EXPECT_EQ(info.manualRange, 1);
    EXPECT_EQ(info.rel, 1);
    EXPECT_EQ(info.milliamps, 1);
    EXPECT_EQ(info.barValue, 42);
    EXPECT_EQ(info.barSign, 1);
    EXPECT_FLOAT_EQ(info.auxValue, 10.0f);
    EXPECT_EQ(info.auxC, 3);  // 4 is stored as 3
    EXPECT_EQ(info.auxA, 7);
    EXPECT_EQ(info.auxB, 8);
}

TEST(MeterReading, DigitsBelowZeroEnterAsNegativeDifferences) {
    // '/' is one below '0': 1000*1 + 100*(-1) + 0 + 0 = 900.
    EXPECT_FLOAT_EQ(decoded(Reading(mb::kVolt, "1/00", '0')).value, 900.0f);
}

}  // namespace
}  // namespace zelvo
