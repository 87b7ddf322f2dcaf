// The synthesized buffer of each shape at the points a user would check on
// the screen: peaks, halves, edges and the offset.
#include "model/generator_wave.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <numeric>
#include <optional>
#include <string>

using namespace oscilane;

namespace {

constexpr float kTolerance = 1e-5f;

GeneratorWave synthesized(const std::function<void(GeneratorWave&)>& setUp) {
    GeneratorWave wave;
    setUp(wave);
    Synthesize(wave);
    return wave;
}

TEST(GeneratorSynthesis, DefaultSineIsOnePeriodOfTwoVolts) {
    const GeneratorWave wave = synthesized([](GeneratorWave&) {});
    ASSERT_EQ(wave.sampleCount, 1000);
    EXPECT_EQ(wave.samples[0], 0.0f);
    EXPECT_FLOAT_EQ(wave.samples[250], 2.0f);
    EXPECT_FLOAT_EQ(wave.samples[750], -2.0f);
    EXPECT_EQ(wave.samples[1000], 0.0f) << "nothing past the count";
    EXPECT_EQ(wave.cycles, 2) << "the preview's cycles survive the fill";
}

// One expected sample of a shape.
struct Point {
    int index;
    float volts;
};

struct ShapeCase {
    const char* name;
    std::function<void(GeneratorWave&)> setUp;
    std::vector<Point> points;
};

void PrintTo(const ShapeCase& c, std::ostream* os) { *os << c.name; }

class Shapes : public testing::TestWithParam<ShapeCase> {};

TEST_P(Shapes, SampleAtKeyPoints) {
    const GeneratorWave wave = synthesized(GetParam().setUp);
    for (const Point& p : GetParam().points)
        EXPECT_NEAR(wave.samples[p.index], p.volts, kTolerance) << "sample " << p.index;
}

std::string shapeName(const testing::TestParamInfo<ShapeCase>& info) {
    std::string name = info.param.name;
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(
    Generator, Shapes,
    testing::Values(ShapeCase{"sine with phase a quarter starts at the peak",
                              [](GeneratorWave& w) { w.phase = 0.25f; },
                              {{0, 2.0f}, {250, 0.0f}, {500, -2.0f}}},
                    ShapeCase{"sine with offset",
                              [](GeneratorWave& w) { w.offset = 1.0; },
                              {{0, 1.0f}, {250, 3.0f}, {750, -1.0f}}},
                    ShapeCase{"ramp rises to the middle then falls",
                              [](GeneratorWave& w) {
                                  w.waveType = WaveType::Ramp;
                                  w.offset = 1.0;
                              },
                              {{0, -1.0f}, {250, 1.0f}, {500, 3.0f}, {750, 1.0f}, {999, -0.992f}}},
                    ShapeCase{"ramp duty a quarter peaks early",
                              [](GeneratorWave& w) {
                                  w.waveType = WaveType::Ramp;
                                  w.rampDuty = 0.25f;
                              },
                              {{0, -2.0f}, {125, 0.0f}, {250, 2.0f}, {625, 0.0f}}},
                    ShapeCase{"square duty a quarter",
                              [](GeneratorWave& w) {
                                  w.waveType = WaveType::Square;
                                  w.squareDuty = 0.25f;
                              },
                              {{0, 2.0f}, {249, 2.0f}, {250, -2.0f}, {999, -2.0f}}},
                    ShapeCase{"trapezium rise top fall low",
                              [](GeneratorWave& w) { w.waveType = WaveType::Trapezia; },
                              {{0, -2.0f},
                               {100, 0.0f},
                               {200, 2.0f},
                               {599, 2.0f},
                               {700, 0.0f},
                               {800, -2.0f},
                               {999, -2.0f}}},
                    ShapeCase{"exponent decays from the top",
                              [](GeneratorWave& w) { w.waveType = WaveType::Exponent; },
                              // tau 1 ms at 1 kHz: one period is one time constant.
                              {{0, 2.0f}, {500, 2.0f * 0.60653066f}}},
                    ShapeCase{"exponent rises towards the top",
                              [](GeneratorWave& w) {
                                  w.waveType = WaveType::Exponent;
                                  w.riseFlag = 0;
                              },
                              {{0, 0.0f}, {500, 2.0f * (1 - 0.60653066f)}}},
                    ShapeCase{"exponent below 1 Hz is timed as 1 Hz",
                              [](GeneratorWave& w) {
                                  w.waveType = WaveType::Exponent;
                                  w.frequency = 0.0;
                                  w.tau = 0.5f;
                              },
                              {{500, 2.0f * 0.36787944f}}},
                    ShapeCase{"exponent with tau 0 is the offset",
                              [](GeneratorWave& w) {
                                  w.waveType = WaveType::Exponent;
                                  w.tau = 0;
                                  w.offset = -1.5;
                              },
                              {{0, -1.5f}, {500, -1.5f}, {999, -1.5f}}},
                    ShapeCase{"AM envelope closes at full depth",
                              [](GeneratorWave& w) {
                                  w.waveType = WaveType::AmFm;
                                  w.depth = 1.0f;
                              },
                              // envelope 0 where the modulating sine is -1
                              {{750, 0.0f}, {25, 2.0f * (0.5f * 0.15643447f + 0.5f)}}},
                    ShapeCase{"FM without deviation is the carrier",
                              [](GeneratorWave& w) {
                                  w.waveType = WaveType::AmFm;
                                  w.fmFlag = 1;
                                  w.maximumFrequency = 0;
                              },
                              // 10 carrier periods in the buffer: a peak at 25
                              {{25, 2.0f}, {75, -2.0f}}},
                    ShapeCase{"FM at 0 Hz is timed as 1 Hz",
                              [](GeneratorWave& w) {
                                  w.waveType = WaveType::AmFm;
                                  w.fmFlag = 1;
                                  w.frequency = 0;
                                  w.highFrequency = 1;
                                  w.maximumFrequency = 0;
                              },
                              {{250, 2.0f}}},
                    ShapeCase{"type 7 is zero whatever the offset",
                              [](GeneratorWave& w) {
                                  w.waveType = WaveType::Zero;
                                  w.offset = 3;
                              },
                              {{0, 0.0f}, {250, 0.0f}, {999, 0.0f}}},
                    ShapeCase{"arbitrary is its base shape",
                              [](GeneratorWave& w) {
                                  w.waveType = WaveType::Arbitrary;
                                  w.baseType = WaveType::Square;
                              },
                              {{0, 2.0f}, {500, -2.0f}}},
                    ShapeCase{"arbitrary with an arbitrary base is zero",
                              [](GeneratorWave& w) {
                                  w.waveType = WaveType::Arbitrary;
                                  w.baseType = WaveType::Arbitrary;
                                  w.offset = 1;
                              },
                              {{0, 0.0f}, {250, 0.0f}}}),
    shapeName);

TEST(GeneratorSynthesis, SquareHalvesWithTheMiddleLow) {
    const GeneratorWave wave = synthesized([](GeneratorWave& w) {
        w.waveType = WaveType::Square;
        w.offset = 1.0;
    });
    for (int i = 0; i < 1000; ++i)
        ASSERT_NEAR(wave.samples[i], i < 500 ? 3.0f : -1.0f, kTolerance) << "sample " << i;
}

TEST(GeneratorSynthesis, DcIsTheOffsetEverywhere) {
    const GeneratorWave wave = synthesized([](GeneratorWave& w) {
        w.waveType = WaveType::Dc;
        w.offset = -2.5;
    });
    for (int i = 0; i < 1000; ++i) ASSERT_NEAR(wave.samples[i], -2.5f, kTolerance);
}

TEST(GeneratorSynthesis, NoiseStaysWithinTheAmplitudeAndIgnoresTheOffset) {
    for (WaveType type : {WaveType::NoiseGauss, WaveType::NoiseWhite}) {
        const GeneratorWave wave = synthesized([type](GeneratorWave& w) {
            w.waveType = type;
            w.offset = 5.0;
        });
        const auto begin = wave.samples.begin();
        const auto end = begin + wave.sampleCount;
        const auto [low, high] = std::minmax_element(begin, end);
        EXPECT_GE(*low, -2.0f) << WaveTypeName(type);
        EXPECT_LE(*high, 2.0f) << WaveTypeName(type);
        EXPECT_GT(*high - *low, 1.0f) << WaveTypeName(type) << " is noise, not a level";
        const double mean = std::accumulate(begin, end, 0.0) / wave.sampleCount;
        EXPECT_NEAR(mean, 0.0, 0.3) << WaveTypeName(type);
    }
}

TEST(GeneratorSynthesis, CountFollowsPointsDivisorAndBaseType) {
    struct Case {
        const char* name;
        std::function<void(GeneratorWave&)> setUp;
        int count;
    };
    const Case cases[] = {
        {"AM/FM base spans the cycles",
         [](GeneratorWave& w) {
             w.waveType = WaveType::Arbitrary;
             w.baseType = WaveType::AmFm;
         },
         2000},
        {"AM/FM type with a sine base spans one",
         [](GeneratorWave& w) { w.waveType = WaveType::AmFm; }, 1000},
        {"divisor", [](GeneratorWave& w) { w.pointDivisor = 3; }, 333},
        {"divisor 0 divides nothing", [](GeneratorWave& w) { w.pointDivisor = 0; }, 1000},
        {"more points than the buffer", [](GeneratorWave& w) { w.pointsPerCycle = 5000; }, 4096},
        {"AM/FM product past 16 bits",
         [](GeneratorWave& w) {
             w.baseType = WaveType::AmFm;
             w.cycles = 3;
             w.pointsPerCycle = 30000;  // 90000 wraps to 24464 in 16 bits
         },
         4096},
    };
    for (const Case& c : cases) {
        GeneratorWave wave;
        c.setUp(wave);
        const GeneratorWave before = wave;
        Synthesize(wave);
        EXPECT_EQ(wave.sampleCount, c.count) << c.name;
        // The fields stored after the buffer are the ones a stray write would hit.
        EXPECT_EQ(wave.pointsPerCycle, before.pointsPerCycle) << c.name;
        EXPECT_EQ(wave.frequency, before.frequency) << c.name;
    }
}

TEST(GeneratorSynthesis, RefillClearsWhatTheOldShapeLeft) {
    GeneratorWave wave;
    wave.samples.fill(9.0f);
    wave.pointsPerCycle = 10;
    Synthesize(wave);
    EXPECT_EQ(wave.sampleCount, 10);
    EXPECT_TRUE(std::all_of(wave.samples.begin() + 10, wave.samples.end(),
                            [](float s) { return s == 0.0f; }));
}

TEST(GeneratorSynthesis, ASynthesizedBufferHoldsNoHandEdits) {
    GeneratorWave wave;
    wave.bufferEdited = true;
    Synthesize(wave);
    EXPECT_FALSE(wave.bufferEdited);
}

TEST(GeneratorSampleVolts, OnlyFiniteSinglePrecisionVoltages) {
    const double max = std::numeric_limits<float>::max();
    struct Case {
        double volts;
        std::optional<float> sample;
    };
    const Case cases[] = {
        {10.0, 10.0f},
        {-3.5, -3.5f},
        {max, std::numeric_limits<float>::max()},
        {-max, std::numeric_limits<float>::lowest()},
        {1e39, std::nullopt},
        {-1e39, std::nullopt},
        {std::numeric_limits<double>::infinity(), std::nullopt},
        {std::numeric_limits<double>::quiet_NaN(), std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(SampleVolts(c.volts), c.sample) << c.volts;
}

TEST(GeneratorWaveValue, UsesTheStoredCycles) {
    GeneratorWave wave;  // two periods across the span
    EXPECT_NEAR(WaveValue(wave, 0.125), 2.0 / 3.5, 1e-6);
    EXPECT_NEAR(WaveValue(wave, 0.625), 2.0 / 3.5, 1e-6);
    wave.waveType = WaveType::Square;
    EXPECT_NEAR(WaveValue(wave, 0.2), 2.0 / 3.5, 1e-6);
    EXPECT_NEAR(WaveValue(wave, 0.25), -2.0 / 3.5, 1e-6) << "half of the first period is low";
    EXPECT_NEAR(WaveValue(wave, 0.6), 2.0 / 3.5, 1e-6) << "the second period starts high";
}

TEST(GeneratorWaveValue, AmplitudeFactorIsSinglePrecision) {
    GeneratorWave wave;
    wave.amplitude = 3.5f;
    // 3.5 x 0.2857143 rounds to exactly 1 in single precision; in double it
    // would be 1.0000000447.
    EXPECT_EQ(WaveValue(wave, 0.125), static_cast<double>(3.5f * 0.2857143f));
}

}  // namespace
