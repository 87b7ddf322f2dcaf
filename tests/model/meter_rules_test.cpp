// The meter's controls and display as a user reads them: which buttons show
// with which caption, what a press asks the meter for, the digits, the bar
// and the trend's scale.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "meter_test_support.h"
#include "model/meter_controls.h"
#include "model/meter_display_rules.h"

using namespace oscilane;
using namespace oscilane::testing_support;

namespace {

const std::string kOhm = "\u03a9";
const std::string kMu = "\u03bc";

DmmInfo Reported(MeasureMode mode, uint8_t manual = 0, uint8_t ac = 0, uint8_t milliamps = 0) {
    DmmInfo info = Record(static_cast<uint8_t>(mode), 1.0f);
    info.manualRange = manual;
    info.ac = ac;
    info.milliamps = milliamps;
    return info;
}

TEST(ControllerBar, VoltageRangesOfferEightHundredVoltsOnlyOnDc) {
    ControllerBarView ac = ControllerBarFor(Reported(MeasureMode::Voltage, 1, 1));
    EXPECT_TRUE(ac.rangeListVisible);
    EXPECT_EQ(ac.ranges,
              (std::vector<std::string_view>{"60.00mV", "600.0mV", "6.000V", "60.00V", "600.0V"}));
    EXPECT_EQ(ac.acDcCaption, "AC");
    ControllerBarView dc = ControllerBarFor(Reported(MeasureMode::Voltage, 1, 0));
    ASSERT_EQ(dc.ranges.size(), 6u);
    EXPECT_EQ(dc.ranges.back(), "800.0V");
    EXPECT_EQ(dc.acDcCaption, "DC");
}

TEST(ControllerBar, VisibilityFollowsTheReportedState) {
    struct Case {
        const char* name;
        DmmInfo reported;
        bool range, acDc, autoManual, milliamps, rel;
    };
    DmmInfo voltageRel = Reported(MeasureMode::Voltage, 1);
    voltageRel.rel = 1;
    const Case cases[] = {
        {"voltage auto", Reported(MeasureMode::Voltage), false, true, true, false, true},
        {"voltage rel", voltageRel, true, true, false, false, true},
        {"current A input", Reported(MeasureMode::Current, 1, 0, 0), false, true, false, true,
         true},
        {"current mA manual", Reported(MeasureMode::Current, 1, 0, 1), true, true, true, true,
         true},
        {"resistance manual", Reported(MeasureMode::Resistance, 1), true, false, true, false, true},
        {"diode", Reported(MeasureMode::Diode, 1), false, false, false, false, false},
        {"continuity", Reported(MeasureMode::Continuity, 1), false, false, false, false, false},
        {"capacitance", Reported(MeasureMode::Capacitance, 1), false, false, false, false, true},
    };
    for (const Case& c : cases) {
        ControllerBarView view = ControllerBarFor(c.reported);
        EXPECT_EQ(view.rangeListVisible, c.range) << c.name;
        EXPECT_EQ(view.acDcVisible, c.acDc) << c.name;
        EXPECT_EQ(view.autoManualVisible, c.autoManual) << c.name;
        EXPECT_EQ(view.milliampsVisible, c.milliamps) << c.name;
        EXPECT_EQ(view.relVisible, c.rel) << c.name;
    }
}

TEST(ControllerBar, CaptionsAndSelectionShowTheReportedState) {
    DmmInfo ohms = Reported(MeasureMode::Resistance, 1);
    ohms.rangeIndex = 1;
    ControllerBarView view = ControllerBarFor(ohms);
    EXPECT_EQ(view.ranges.size(), 6u);
    EXPECT_EQ(view.ranges[1], "6.000K" + kOhm);
    EXPECT_EQ(view.rangeSelection, 1);
    EXPECT_EQ(view.autoManualCaption, "Manual");

    DmmInfo milliamps = Reported(MeasureMode::Current, 1, 0, 1);
    milliamps.rangeIndex = 7;  // outside the two mA choices
    view = ControllerBarFor(milliamps);
    EXPECT_EQ(view.ranges, (std::vector<std::string_view>{"60.00mA", "600.0mA"}));
    EXPECT_EQ(view.rangeSelection, -1);
    EXPECT_EQ(view.milliampsCaption, "mA");
    EXPECT_EQ(ControllerBarFor(Reported(MeasureMode::Current)).milliampsCaption, "A");
    EXPECT_EQ(ControllerBarFor(Reported(MeasureMode::Current)).autoManualCaption, "Auto");
}

TEST(ControllerBar, EachControlAsksForTheOppositeOfWhatIsReported) {
    using K = MeterCommandKind;
    DmmInfo voltageAc = Reported(MeasureMode::Voltage, 1, 1);
    DmmInfo currentDcAuto = Reported(MeasureMode::Current, 0, 0, 1);
    currentDcAuto.rel = 1;
    DmmInfo ohms = Reported(MeasureMode::Resistance);
    DmmInfo capacitance = Reported(MeasureMode::Capacitance);
    DmmInfo diode = Reported(MeasureMode::Diode);

    EXPECT_EQ(AcDcCommand(voltageAc), (MeterCommand{K::VoltAcDc, 0}));
    EXPECT_EQ(AcDcCommand(currentDcAuto), (MeterCommand{K::CurrentAcDc, 1}));
    EXPECT_FALSE(AcDcCommand(ohms));

    EXPECT_EQ(AutoManualCommand(voltageAc), (MeterCommand{K::VoltMode, 0}));
    EXPECT_EQ(AutoManualCommand(currentDcAuto), (MeterCommand{K::CurrentMode, 1}));
    EXPECT_EQ(AutoManualCommand(ohms), (MeterCommand{K::OhmMode, 1}));
    EXPECT_FALSE(AutoManualCommand(capacitance));

    EXPECT_EQ(RelCommand(voltageAc), (MeterCommand{K::VoltRel, 1}));
    EXPECT_EQ(RelCommand(currentDcAuto), (MeterCommand{K::CurrentRel, 0}));
    EXPECT_EQ(RelCommand(ohms), (MeterCommand{K::OhmRel, 1}));
    EXPECT_EQ(RelCommand(capacitance), (MeterCommand{K::CapRel, 1}));
    EXPECT_FALSE(RelCommand(diode)) << "Rel in diode mode queues nothing";

    EXPECT_EQ(MilliampsCommand(currentDcAuto), (MeterCommand{K::CurrentAmA, 0}));
    EXPECT_EQ(MilliampsCommand(ohms), (MeterCommand{K::CurrentAmA, 1}));

    EXPECT_EQ(RangeCommand(voltageAc, 3), (MeterCommand{K::VoltRange, 3}));
    EXPECT_EQ(RangeCommand(currentDcAuto, 1), (MeterCommand{K::CurrentRange, 1}));
    EXPECT_EQ(RangeCommand(ohms, 5), (MeterCommand{K::OhmRange, 5}));
    EXPECT_FALSE(RangeCommand(ohms, -1));
    EXPECT_FALSE(RangeCommand(capacitance, 0));

    EXPECT_FALSE(ModeCommand(voltageAc, MeasureMode::Voltage)) << "the reported mode";
    EXPECT_EQ(ModeCommand(voltageAc, MeasureMode::Capacitance), (MeterCommand{K::MeasureMode, 5}));
}

TEST(DigitText, KeepsTheDecimalsOfTheScale) {
    struct {
        float value;
        bool overload;
        int32_t scale;
        std::string text;
    } cases[] = {
        {0.0f, false, 2, "0.0"},      {1.234f, false, 1, "1.234"},   {12.34f, false, 2, "12.34"},
        {123.4f, false, 3, "123.4"},  {5.0f, false, 0, "5.00"},      {1234.0f, false, 0, "1234"},
        {0.5f, false, 2, "0.50"},     {-12.34f, false, 2, "-12.34"}, {-0.001f, false, 1, "-0.001"},
        {99.99f, false, 2, "99.99"},  {0.0f, true, 2, "e"},          {-5.0f, true, 0, "e"},
        {1.5f, false, 9, "1.500500"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DigitText(c.value, c.overload, c.scale), c.text) << c.value << " " << c.scale;
}

TEST(DigitText, RelReferenceUsesTheAuxiliaryFields) {
    DmmInfo record{};
    record.auxValue = 1.234f;
    record.auxC = 1;
    record.auxA = 4;
    record.auxB = 2;
    EXPECT_EQ(RelReferenceText(record), "1.234k" + kOhm);
    EXPECT_EQ(ScreenUnitText(2, 3), kMu + "F");
    EXPECT_EQ(ScreenUnitText(7, 9), "");
}

TEST(BarSteps, CapacitanceAndManualDcScaleTheValue) {
    DmmInfo manualDc = Reported(MeasureMode::Voltage, 1);
    manualDc.value = 500.0f;
    struct {
        const char* name;
        DmmInfo record;
        int steps;
    } cases[] = {
        {"150 nF", Record(5, 150.0f, 1, 3), 15},
        {"45 nF", Record(5, 45.0f, 1, 3), 45},
        {"1.5 uF", Record(5, 1.5f, 2, 3), 15},
        {"33 uF", Record(5, 33.0f, 2, 3), 33},
        {"5000 uF", Record(5, 5000.0f, 2, 3), 60},
        {"negative capacitance", Record(5, -3.0f, 1, 3), 0},
        {"500 V manual DC", manualDc, 37},
    };
    for (const auto& c : cases) EXPECT_EQ(BarSteps(c.record), c.steps) << c.name;

    DmmInfo dc = Reported(MeasureMode::Voltage, 1);
    dc.value = 1000.0f;
    EXPECT_EQ(BarSteps(dc), 60);
    dc.value = -20.0f;
    EXPECT_EQ(BarSteps(dc), 0);
    DmmInfo acVolts = Reported(MeasureMode::Voltage, 1, 1);
    acVolts.barValue = 42;
    EXPECT_EQ(BarSteps(acVolts), 42) << "the meter's own bar";
    acVolts.barValue = 127;
    EXPECT_EQ(BarSteps(acVolts), 60);
}

TEST(RangeStatusLabel, FollowsTheRangeTables) {
    DmmInfo volts = Reported(MeasureMode::Voltage, 1);
    volts.rangeIndex = 5;
    EXPECT_EQ(RangeStatusLabel(volts), "6.000KV");
    EXPECT_EQ(RangeStatusLabel(Reported(MeasureMode::Current)), "10A");
    DmmInfo ohms = Reported(MeasureMode::Resistance);
    ohms.rangeIndex = 6;
    EXPECT_EQ(RangeStatusLabel(ohms), "");
}

MeterReading Plotted(float value, uint8_t prefix, uint8_t overload = 0) {
    MeterReading r;
    r.value = value;
    r.prefixIndex = prefix;
    r.overload = overload;
    return r;
}

TEST(TrendFullScale, ChoosesTheRangeAboveTheLargestReading) {
    struct {
        const char* name;
        DmmInfo record;
        std::vector<MeterReading> trend;
        std::string label;
    } cases[] = {
        {"empty voltage trend", Reported(MeasureMode::Voltage), {}, "60.00mV"},
        {"30 mV", Reported(MeasureMode::Voltage), {Plotted(30, 3)}, "60.00mV"},
        {"5 V", Reported(MeasureMode::Voltage), {Plotted(1, 7), Plotted(-5, 7)}, "6.000V"},
        {"exactly 6 V", Reported(MeasureMode::Voltage), {Plotted(6, 7)}, "60.00V"},
        {"7 kV", Reported(MeasureMode::Voltage), {Plotted(7, 4)}, "6.000KV"},
        {"overload ignored", Reported(MeasureMode::Voltage), {Plotted(9999, 7, 1)}, "60.00mV"},
        {"diode uses volts", Reported(MeasureMode::Diode), {Plotted(0.5, 7)}, "600.0mV"},
        {"12.5 kOhm", Reported(MeasureMode::Resistance), {Plotted(12.5, 4)}, "60.00K" + kOhm},
        {"continuity uses ohms",
         Reported(MeasureMode::Continuity),
         {Plotted(10, 7)},
         "600.0" + kOhm},
        {"150 nF", Reported(MeasureMode::Capacitance), {Plotted(150, 1)}, "400.0nF"},
        {"2 uF", Reported(MeasureMode::Capacitance), {Plotted(2, 2)}, "4.000" + kMu + "F"},
        {"A input", Reported(MeasureMode::Current, 0, 0, 0), {Plotted(1, 3)}, "10.00A"},
        {"mA small", Reported(MeasureMode::Current, 0, 0, 1), {Plotted(30, 3)}, "60.00mA"},
        {"mA large", Reported(MeasureMode::Current, 0, 0, 1), {Plotted(300, 3)}, "600.0mA"},
    };
    for (const auto& c : cases) {
        auto scale = TrendFullScale(c.record, c.trend);
        ASSERT_TRUE(scale) << c.name;
        EXPECT_EQ(scale->label, c.label) << c.name;
    }
}

TEST(TrendFullScale, ManualRangeUsesTheReportedRangeInBaseUnits) {
    DmmInfo volts = Reported(MeasureMode::Voltage, 1);
    volts.rangeIndex = 5;
    std::vector<MeterReading> small{Plotted(1, 3)};
    EXPECT_EQ(TrendFullScale(volts, small)->label, "6.000KV");
    volts.rangeIndex = 40;  // beyond the table: its top range
    EXPECT_EQ(TrendFullScale(volts, small)->fullScale, 6000);

    DmmInfo farads = Reported(MeasureMode::Capacitance, 1);
    farads.rangeIndex = 1;
    EXPECT_DOUBLE_EQ(TrendFullScale(farads, small)->fullScale, 400e-9);
    EXPECT_DOUBLE_EQ(*TrendBaseValue(Plotted(150, 1)), 150.0005e-9);
    EXPECT_FALSE(TrendBaseValue(Plotted(1, 7, 1)));

    EXPECT_FALSE(TrendFullScale(Record(6, 1.0f), small)) << "no table for mode 6";
}

}  // namespace
