// The generator controls' rules: what a box shows after a value is entered,
// the reversed spins, the boxes per type and the switch to "Arb".
#include "model/generator_limits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

using namespace oscilane;

namespace {

struct LimitCase {
    const char* name;
    double shown;
    double expected;
};

void PrintTo(const LimitCase& c, std::ostream* os) { *os << c.name; }

class Limits : public testing::TestWithParam<LimitCase> {};

TEST_P(Limits, ShowTheClampedValue) { EXPECT_DOUBLE_EQ(GetParam().shown, GetParam().expected); }

std::string limitName(const testing::TestParamInfo<LimitCase>& info) {
    std::string name = info.param.name;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(
    GeneratorControls, Limits,
    testing::Values(
        LimitCase{"frequency 80 MHz on a sine", LimitFrequency(80e6, WaveType::Sine), 75e6},
        LimitCase{"frequency 80 MHz on Arb", LimitFrequency(80e6, WaveType::Arbitrary), 25e6},
        LimitCase{"frequency 30 MHz on a square", LimitFrequency(30e6, WaveType::Square), 30e6},
        LimitCase{"frequency 0 on a sine", LimitFrequency(0, WaveType::Sine), 0.001},
        LimitCase{"frequency -5 on Arb", LimitFrequency(-5, WaveType::Arbitrary), 0.001},
        LimitCase{"frequency at the lowest", LimitFrequency(0.001, WaveType::Sine), 0.001},
        LimitCase{"amplitude above 3.5", LimitAmplitude(4), 3.5},
        LimitCase{"amplitude has no lower limit", LimitAmplitude(-10), -10},
        LimitCase{"offset -9", LimitOffset(-9), -7}, LimitCase{"offset 9", LimitOffset(9), 7},
        LimitCase{"offset spin down at -7", OffsetAfterSpin(-7, +1), -7},
        LimitCase{"offset spin up at -7", OffsetAfterSpin(-7, -1), -6},
        LimitCase{"offset spin down", OffsetAfterSpin(0.5, +1), -0.5},
        LimitCase{"offset spin without change", OffsetAfterSpin(0.5, 0), 0.5},
        LimitCase{"phase spin down at 0", PhaseAfterSpin(0, +1), 0},
        LimitCase{"phase spin up", PhaseAfterSpin(0, -1), 0.1},
        LimitCase{"phase spin up at 1", PhaseAfterSpin(1, -1), 1},
        LimitCase{"phase spin down", PhaseAfterSpin(0.5, +1), 0.4},
        LimitCase{"fraction above 1", LimitFraction(1.5), 1},
        LimitCase{"high frequency above 25 MHz", LimitHighFrequency(3e7), 25e6},
        LimitCase{"high frequency below 0", LimitHighFrequency(-1), 0},
        LimitCase{"maximum frequency above half", LimitMaximumFrequency(6000, 10000), 5000},
        LimitCase{"maximum frequency inside", LimitMaximumFrequency(4000, 10000), 4000},
        LimitCase{"maximum frequency below 0", LimitMaximumFrequency(-1, 10000), 0},
        LimitCase{"maximum frequency under a negative carrier", LimitMaximumFrequency(100, -10),
                  0}),
    limitName);

TEST(GeneratorControls, EachBoxLimitsAndStoresItsOwnField) {
    struct Case {
        GeneratorBox box;
        double entered;
        double shown;
        double (*stored)(const GeneratorWave&);
    };
    const Case cases[] = {
        {GeneratorBox::Frequency, 80e6, 75e6, [](const GeneratorWave& w) { return w.frequency; }},
        {GeneratorBox::Amplitude, 5, 3.5,
         [](const GeneratorWave& w) { return double{w.amplitude}; }},
        {GeneratorBox::Offset, -9, -7, [](const GeneratorWave& w) { return w.offset; }},
        {GeneratorBox::Phase, 2, 1, [](const GeneratorWave& w) { return double{w.phase}; }},
        {GeneratorBox::RiseDuty, 0.5, 0.5,
         [](const GeneratorWave& w) { return double{w.riseDuty}; }},
        {GeneratorBox::HighDuty, 0.25, 0.25,
         [](const GeneratorWave& w) { return double{w.highDuty}; }},
        {GeneratorBox::FallDuty, 1.5, 1, [](const GeneratorWave& w) { return double{w.fallDuty}; }},
        {GeneratorBox::Tau, 0.25, 0.25, [](const GeneratorWave& w) { return double{w.tau}; }},
        {GeneratorBox::Depth, -1, 0, [](const GeneratorWave& w) { return double{w.depth}; }},
        {GeneratorBox::HighFrequency, 3e7, 25e6,
         [](const GeneratorWave& w) { return w.highFrequency; }},
        // a single-precision field holds no more than this, however low the entry
        {GeneratorBox::Amplitude, -1e300, std::numeric_limits<float>::lowest(),
         [](const GeneratorWave& w) { return double{w.amplitude}; }},
    };
    for (const Case& c : cases) {
        GeneratorWave wave;
        EXPECT_EQ(AcceptBoxValue(wave, c.box, c.entered), c.shown) << static_cast<int>(c.box);
        EXPECT_EQ(c.stored(wave), c.shown) << static_cast<int>(c.box);
    }
}

TEST(GeneratorControls, MaximumFrequencyFollowsTheStoredHighFrequency) {
    GeneratorWave wave;
    EXPECT_EQ(AcceptBoxValue(wave, GeneratorBox::MaximumFrequency, 6000), 5000);
    EXPECT_EQ(AcceptBoxValue(wave, GeneratorBox::HighFrequency, 4000), 4000);
    EXPECT_EQ(AcceptBoxValue(wave, GeneratorBox::MaximumFrequency, 6000), 2000);
    EXPECT_EQ(wave.maximumFrequency, 2000);
}

TEST(GeneratorControls, DutyIsStoredForRampAndSquareOnly) {
    struct Case {
        WaveType type;
        float ramp;
        float square;
    };
    for (const Case& c : {Case{WaveType::Ramp, 0.75f, 0.5f}, Case{WaveType::Square, 0.5f, 0.75f},
                          Case{WaveType::Sine, 0.5f, 0.5f}}) {
        GeneratorWave wave;
        wave.waveType = c.type;
        EXPECT_EQ(AcceptBoxValue(wave, GeneratorBox::Duty, 0.75), 0.75);
        EXPECT_EQ(wave.rampDuty, c.ramp) << WaveTypeName(c.type);
        EXPECT_EQ(wave.squareDuty, c.square) << WaveTypeName(c.type);
    }
}

TEST(GeneratorControls, FrequencyOfAnArbWaveStopsAt25MHz) {
    GeneratorWave wave;
    wave.waveType = WaveType::Arbitrary;
    EXPECT_EQ(AcceptBoxValue(wave, GeneratorBox::Frequency, 80e6), 25e6);
}

TEST(GeneratorControls, BoxesShownPerType) {
    using B = GeneratorBox;
    const std::vector<B> all = {
        B::Frequency,     B::Amplitude, B::Offset,   B::Phase,           B::Duty,
        B::RiseDuty,      B::HighDuty,  B::FallDuty, B::RiseFlag,        B::Tau,
        B::HighFrequency, B::Depth,     B::FmFlag,   B::MaximumFrequency};
    const std::vector<B> sine = {B::Frequency, B::Amplitude, B::Offset, B::Phase};
    auto with = [&](std::vector<B> more) {
        more.insert(more.end(), sine.begin(), sine.end());
        return more;
    };
    const std::pair<WaveType, std::vector<B>> table[] = {
        {WaveType::Sine, sine},
        {WaveType::Ramp, with({B::Duty})},
        {WaveType::Square, with({B::Duty})},
        {WaveType::Trapezia, with({B::RiseDuty, B::HighDuty, B::FallDuty})},
        {WaveType::Dc, {B::Offset}},
        {WaveType::Exponent, with({B::RiseFlag, B::Tau})},
        {WaveType::AmFm, with({B::FmFlag, B::HighFrequency, B::Depth, B::MaximumFrequency})},
        {WaveType::Zero, {}},
        {WaveType::NoiseGauss, {B::Amplitude}},
        {WaveType::NoiseWhite, {B::Amplitude}},
        {WaveType::Arbitrary, {B::Frequency}},
    };
    for (const auto& [type, shown] : table) {
        const GeneratorBoxes boxes = BoxesForType(type);
        for (B box : all) {
            const bool expected = std::find(shown.begin(), shown.end(), box) != shown.end();
            EXPECT_EQ(boxes.contains(box), expected)
                << "type " << static_cast<int>(type) << " box " << static_cast<int>(box);
        }
    }
}

TEST(GeneratorControls, SwitchToArbKeepsTheShapesSamples) {
    GeneratorWave wave;
    wave.waveType = WaveType::Square;
    wave.frequency = 30e6;
    const ArbitrarySwitch result = SwitchToArbitrary(wave, EditedBuffer::Discard);
    EXPECT_TRUE(result.switched);
    EXPECT_TRUE(result.frequencyLimited);
    EXPECT_EQ(wave.frequency, 25e6);
    EXPECT_EQ(wave.waveType, WaveType::Arbitrary);
    EXPECT_EQ(wave.baseType, WaveType::Square);
    EXPECT_EQ(wave.sampleCount, 1000);
    EXPECT_FLOAT_EQ(wave.samples[499], 2.0f);
    EXPECT_FLOAT_EQ(wave.samples[500], -2.0f);

    wave.samples[0] = 3.0f;  // an edit
    const GeneratorWave edited = wave;
    const ArbitrarySwitch again = SwitchToArbitrary(wave, EditedBuffer::Discard);
    EXPECT_FALSE(again.switched);
    EXPECT_FALSE(again.frequencyLimited);
    EXPECT_TRUE(wave == edited) << "choosing Arb while Arb keeps the edits";
}

TEST(GeneratorControls, SwitchToArbBelowTheLimitKeepsTheFrequency) {
    GeneratorWave wave;
    EXPECT_FALSE(SwitchToArbitrary(wave, EditedBuffer::Discard).frequencyLimited);
    EXPECT_EQ(wave.frequency, 1000.0);
}

TEST(GeneratorControls, SwitchToArbKeepsHandEditsOnlyWhenAskedTo) {
    // A square drawn on by hand, then shown as a sine above the Arb limit.
    GeneratorWave edited;
    edited.waveType = WaveType::Square;
    SwitchToArbitrary(edited, EditedBuffer::Discard);
    edited.samples[3] = 3.25f;
    edited.bufferEdited = true;
    edited.waveType = WaveType::Sine;
    edited.frequency = 30e6;

    GeneratorWave kept = edited;
    EXPECT_TRUE(SwitchToArbitrary(kept, EditedBuffer::Keep).frequencyLimited);
    EXPECT_EQ(kept.waveType, WaveType::Arbitrary);
    EXPECT_EQ(kept.baseType, WaveType::Square) << "the shape the edits started from";
    EXPECT_TRUE(kept.samples == edited.samples);
    EXPECT_TRUE(kept.bufferEdited);
    EXPECT_EQ(kept.frequency, 25e6);

    GeneratorWave discarded = edited;
    SwitchToArbitrary(discarded, EditedBuffer::Discard);
    EXPECT_EQ(discarded.baseType, WaveType::Sine);
    EXPECT_FALSE(discarded.bufferEdited);
    EXPECT_FLOAT_EQ(discarded.samples[250], 2.0f);  // the sine's crest

    // Nothing to keep: the buffer comes from the shape either way.
    GeneratorWave plain;
    plain.waveType = WaveType::Square;
    SwitchToArbitrary(plain, EditedBuffer::Keep);
    EXPECT_EQ(plain.baseType, WaveType::Square);
    EXPECT_FLOAT_EQ(plain.samples[0], 2.0f);
}

}  // namespace
