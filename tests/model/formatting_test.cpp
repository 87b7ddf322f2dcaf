// The formatters against the texts users see, range edges included.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <string>

#include "model/formatting.h"

using namespace oscilane;

namespace {

struct TextCase {
    const char* name;
    std::string text;
    std::string expected;
};

class Texts : public testing::TestWithParam<TextCase> {};

TEST_P(Texts, ReadAsUsersSeeThem) { EXPECT_EQ(GetParam().text, GetParam().expected); }

template <class Case>
std::string caseName(const testing::TestParamInfo<Case>& info) {
    std::string name = info.param.name;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

const std::string kMu = "\u03bc";

INSTANTIATE_TEST_SUITE_P(
    FixedDecimals, Texts,
    testing::Values(TextCase{"fmt3 below 10", Fmt3(9.994), "9.99"},
                    TextCase{"fmt3 rounds up across the range", Fmt3(9.999), "10.00"},
                    TextCase{"fmt3 from 10", Fmt3(10), "10.0"},
                    TextCase{"fmt3 from 100", Fmt3(100), "100"},
                    TextCase{"fmt3 negative has no decimals", Fmt3(-1.5), "-2"},
                    TextCase{"fmtN 4 below 10", FmtN(1.5, 4), "1.500"},
                    TextCase{"fmtN 4 from 10", FmtN(25, 4), "25.00"},
                    TextCase{"fmtN 4 from 100", FmtN(500, 4), "500.0"},
                    TextCase{"fmtN 4 from 1000", FmtN(1500, 4), "1500"},
                    TextCase{"fmtN negative", FmtN(-0.5, 4), "-0"}),
    caseName<TextCase>);

INSTANTIATE_TEST_SUITE_P(
    VoltText, Texts,
    testing::Values(TextCase{"millivolts", VoltText(500, 0), "500mV"},
                    TextCase{"probe 10x gives volts", VoltText(500, 1), "5.00V"},
                    TextCase{"negative microvolts", VoltText(-0.25, 0), "-250" + kMu + "V"},
                    TextCase{"below a microvolt is empty", VoltText(0.0005, 0), ""},
                    TextCase{"1000x lifts it into range", VoltText(0.0005, 3), "500" + kMu + "V"},
                    TextCase{"1000x of 0.5 mV", VoltText(0.5, 3), "500mV"},
                    TextCase{"100x", VoltText(2, 2), "200mV"},
                    TextCase{"unknown probe index acts as 1x", VoltText(2, 7), "2.00mV"},
                    TextCase{"kilovolts", VoltText(2.5e6, 0), "2.50kV"},
                    TextCase{"1e9 mV is out of range", VoltText(1e9, 0), ""},
                    TextCase{"negative out of range keeps the sign", VoltText(-0.0001, 0), "-"},
                    TextCase{"exactly 1 mV", VoltText(1, 0), "1.00mV"},
                    TextCase{"exactly 1 V", VoltText(1000, 0), "1.00V"}),
    caseName<TextCase>);

INSTANTIATE_TEST_SUITE_P(
    TimeText, Texts,
    testing::Values(TextCase{"below 10 ns is empty", TimeText(9.9), ""},
                    TextCase{"10 ns", TimeText(10), "10.0nS"},
                    TextCase{"rounds to 1000nS within its range", TimeText(999.9), "1000nS"},
                    TextCase{"microseconds 2 decimals", TimeText(2500), "2.50uS"},
                    TextCase{"microseconds 1 decimal", TimeText(25000), "25.0uS"},
                    TextCase{"microseconds 0 decimals", TimeText(250000), "250uS"},
                    TextCase{"milliseconds", TimeText(5e6), "5.00mS"},
                    TextCase{"milliseconds 0 decimals", TimeText(5e8), "500mS"},
                    TextCase{"seconds", TimeText(2e9), "2.00S"},
                    TextCase{"100 seconds", TimeText(1e11), "100S"},
                    TextCase{"from 1e12 ns empty", TimeText(1e12), ""},
                    TextCase{"negative", TimeText(-2500), "-2.50uS"},
                    TextCase{"negative too short", TimeText(-5), "-"}),
    caseName<TextCase>);

INSTANTIATE_TEST_SUITE_P(FreqText, Texts,
                         testing::Values(TextCase{"hertz", FreqText(50), "50.00Hz"},
                                         TextCase{"zero", FreqText(0), "0.000Hz"},
                                         TextCase{"range chosen before rounding", FreqText(999.99),
                                                  "1000.0Hz"},
                                         TextCase{"kilohertz", FreqText(1000), "1.000KHz"},
                                         TextCase{"megahertz", FreqText(2.5e7), "25.00MHz"},
                                         TextCase{"gigahertz", FreqText(1.2e9), "1.200GHz"},
                                         TextCase{"negative empty", FreqText(-1), ""},
                                         TextCase{"1e12 empty", FreqText(1e12), ""}),
                         caseName<TextCase>);

INSTANTIATE_TEST_SUITE_P(RateText, Texts,
                         testing::Values(TextCase{"megasamples", RateText(2e6), "2.000MSa/s"},
                                         TextCase{"kilosamples", RateText(5e5), "500.0KSa/s"},
                                         TextCase{"samples", RateText(1), "1.000Sa/s"},
                                         TextCase{"gigasamples", RateText(2e9), "2.000GSa/s"},
                                         TextCase{"1e12 empty", RateText(1e12), ""}),
                         caseName<TextCase>);

INSTANTIATE_TEST_SUITE_P(DbText, Texts,
                         testing::Values(TextCase{"negative tens", DbText(-23.456, 3), "-23.5dB"},
                                         TextCase{"units", DbText(3.14159, 3), "3.14dB"},
                                         TextCase{"hundreds", DbText(123.4, 3), "123dB"},
                                         TextCase{"negative hundreds", DbText(-150, 3), "-150dB"}),
                         caseName<TextCase>);

// The statistics table's form: never empty for a finite value.
INSTANTIATE_TEST_SUITE_P(
    EngineeringText, Texts,
    testing::Values(TextCase{"nanoseconds below the time text", EngineeringText(5e-9, "s"),
                             "5.00ns"},
                    TextCase{"zero", EngineeringText(0, "s"), "0s"},
                    TextCase{"negative millivolts", EngineeringText(-2.5e-3, "V"), "-2.50mV"},
                    TextCase{"rounding moves up a prefix", EngineeringText(999.6, "Hz"), "1.00kHz"},
                    TextCase{"rounding moves up a digit", EngineeringText(9.996, "V"), "10.0V"},
                    TextCase{"hundreds keep no decimals", EngineeringText(123456, "Hz"), "123kHz"},
                    TextCase{"micro", EngineeringText(1e-6, "s"), "1.00" + kMu + "s"},
                    TextCase{"just below one", EngineeringText(0.5, "V"), "500mV"},
                    TextCase{"picoseconds", EngineeringText(-3.21e-12, "s"), "-3.21ps"},
                    TextCase{"large seconds", EngineeringText(12000, "s"), "12.0ks"},
                    TextCase{"beyond the prefixes", EngineeringText(1e30, "s"), "1000000Ys"},
                    TextCase{"below the prefixes", EngineeringText(1e-27, "s"), "0.00100ys"},
                    TextCase{"not a number", EngineeringText(std::nan(""), "s"), ""},
                    TextCase{"plain significant", SignificantText(12.5), "12.5"},
                    TextCase{"plain small", SignificantText(0.01), "0.0100"},
                    TextCase{"plain large keeps its digits", SignificantText(1234), "1234"},
                    TextCase{"plain zero", SignificantText(0), "0"},
                    TextCase{"plain negative", SignificantText(-0.5), "-0.500"}),
    caseName<TextCase>);

struct ParseCase {
    const char* name;
    std::u16string text;
    double expected;
};

class Parse : public testing::TestWithParam<ParseCase> {};

TEST_P(Parse, TakesOnlyPlainDecimals) {
    EXPECT_EQ(ParseDecimal(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    ParseDecimal, Parse,
    testing::Values(ParseCase{"decimal", u"1.5", 1.5}, ParseCase{"negative", u"-2", -2.0},
                    ParseCase{"zero", u"0", 0.0}, ParseCase{"leading point", u".25", 0.25},
                    ParseCase{"exponent is not plain", u"1e3", 0.0},
                    ParseCase{"minus inside", u"1-2", 0.0}, ParseCase{"two points", u"1.2.3", 0.0},
                    ParseCase{"empty", u"", 0.0}, ParseCase{"lone minus", u"-", 0.0},
                    ParseCase{"blank", u" 1", 0.0}, ParseCase{"plus sign", u"+1", 0.0},
                    // U+0131 has the low byte 0x31, the digit '1'.
                    ParseCase{"only the low byte counts", u"\u0131.5", 1.5},
                    ParseCase{"too large to hold", std::u16string(400, u'9'), 0.0}),
    caseName<ParseCase>);

TEST(ParseDecimalBytes, ReadsNarrowTextTheSameWay) {
    EXPECT_EQ(ParseDecimal(std::string_view("12.25")), 12.25);
    EXPECT_EQ(ParseDecimal(std::string_view("12.25\r")), 0.0);
}

}  // namespace
