// Accuracy on synthetic traces with known answers: quantised codes, random
// phase (fixed seeds), non-integer samples per period and noise of 0.5 to 2
// codes.  Voltages read in codes (1 mV per code, 0 V at code 0).
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "mensyl/Mensyl.h"
#include "synth.h"

namespace mensyl::test {
namespace {

constexpr int kRecord = 1200;
constexpr int kPhases = 6;  // random phases per case

// A random shift within one period, the same on every run.
double phase(unsigned seed, double period) {
    std::mt19937 random(seed * 7919u + 17u);
    return std::uniform_real_distribution<double>(0, period)(random);
}

std::string describe(const Wave& w, unsigned seed) {
    return "shape " + std::to_string(static_cast<int>(w.shape)) + " period " +
           std::to_string(w.period) + " duty " + std::to_string(w.duty) + " edge " +
           std::to_string(w.edge) + " noise " + std::to_string(w.noise) + " seed " +
           std::to_string(seed);
}

struct LevelCase {
    Wave wave;
    double top, base;  // the expected state levels
};

TEST(Accuracy, LevelsWithinOneCodeWithoutNoise) {
    const LevelCase cases[] = {
        {{Shape::pulse, 37.3, 50, 200, 0.5, 3}, 200, 50},
        {{Shape::pulse, 91.7, 20, 235, 0.2, 6}, 235, 20},
        {{Shape::pulse, 143.1, 100, 140, 0.8, 2}, 140, 100},
        // Without flat levels top and base fall back to the extremes.
        {{Shape::sine, 57.9, 28, 228}, 228, 28},
        {{Shape::triangle, 83.3, 40, 220}, 220, 40},
    };
    for (const LevelCase& c : cases)
        for (unsigned seed = 0; seed < kPhases; ++seed) {
            Wave w = c.wave;
            w.shift = phase(seed, w.period);
            SCOPED_TRACE(describe(w, seed));
            Measured m(synthesize(w, kRecord, seed));
            const double f = kOneMillivoltPerCode;
            const int z = kZeroAtCode0;
            EXPECT_NEAR(CalTopVolt(m.H.data(), z, f), c.top, 1);
            EXPECT_NEAR(CalBaseVolt(m.L.data(), z, f), c.base, 1);
            EXPECT_NEAR(CalMaxVolt(m.H.data(), z, f), w.high, 1);
            EXPECT_NEAR(CalMinVolt(m.L.data(), z, f), w.low, 1);
            EXPECT_NEAR(CalVpp(m.H.data(), m.L.data(), f, 255), w.high - w.low, 1);
            EXPECT_NEAR(CalAmplitude(m.H.data(), m.L.data(), f), c.top - c.base, 1);
            EXPECT_NEAR(CalMidVolt(m.H.data(), m.L.data(), z, f, 255), (c.top + c.base) / 2, 1);
        }
}

TEST(Accuracy, PulseLevelsWithinOneCodeUnderNoise) {
    for (const double noise : {0.5, 1.0, 2.0})
        for (unsigned seed = 0; seed < kPhases; ++seed) {
            Wave w{Shape::pulse, 77.7, 60, 190, 0.4, 4};
            w.noise = noise;
            w.shift = phase(seed, w.period);
            SCOPED_TRACE(describe(w, seed));
            Measured m(synthesize(w, kRecord, seed));
            EXPECT_NEAR(CalTopVolt(m.H.data(), kZeroAtCode0, kOneMillivoltPerCode), 190, 1);
            EXPECT_NEAR(CalBaseVolt(m.L.data(), kZeroAtCode0, kOneMillivoltPerCode), 60, 1);
        }
}

TEST(Accuracy, VoltagesFollowZeroAndScale) {
    // A pulse from code 60 to 190, 0 V at code 255 - 127 = 128, 200 mV per
    // division: one code is 200 * 8 / 255 mV.
    Measured m(synthesize({Shape::pulse, 50.5, 60, 190, 0.5, 2}, kRecord));
    const double code = 200.0 * 8 / 255;
    EXPECT_NEAR(CalTopVolt(m.H.data(), 127, 200), (190 - 128) * code, 1e-6);
    EXPECT_NEAR(CalBaseVolt(m.L.data(), 127, 200), (60 - 128) * code, 1e-6);
    EXPECT_NEAR(CalMaxVolt(m.H.data(), 127, 200), (190 - 128) * code, 1e-6);
    EXPECT_NEAR(CalMinVolt(m.L.data(), 127, 200), (60 - 128) * code, 1e-6);
    EXPECT_NEAR(CalMidVolt(m.H.data(), m.L.data(), 127, 200, 255), (125 - 128) * code, 1e-6);
    EXPECT_NEAR(CalVpp(m.H.data(), m.L.data(), 200, 255), 130 * code, 1e-6);
    EXPECT_NEAR(CalAmplitude(m.H.data(), m.L.data(), 200), 130 * code, 1e-6);
}

TEST(Accuracy, PeriodAndFrequencyWithinPointOnePercent) {
    const Shape shapes[] = {Shape::pulse, Shape::sine, Shape::triangle};
    // 10 to 87 cycles in the record.
    const double periods[] = {13.7, 37.3, 61.9, 97.3, 119.1};
    const double noises[] = {0, 0.5, 1, 2};
    for (const Shape shape : shapes)
        for (const double period : periods)
            for (const double noise : noises)
                for (unsigned seed = 0; seed < kPhases; ++seed) {
                    Wave w{shape, period, 30, 220, 0.5, shape == Shape::pulse ? 2.5 : 0};
                    w.noise = noise;
                    w.shift = phase(seed, period);
                    SCOPED_TRACE(describe(w, seed));
                    Measured m(synthesize(w, kRecord, seed));
                    const double expected = period * kInterval;
                    EXPECT_NEAR(CalPeriod(m.P.data(), kInterval), expected, 1e-3 * expected);
                    EXPECT_NEAR(CalFrequency(m.P.data(), kInterval), 1 / expected, 1e-3 / expected);
                }
}

TEST(Accuracy, DutyCycleWithinOnePercentagePoint) {
    const double duties[] = {0.1, 0.25, 0.5, 0.73, 0.9};
    const double noises[] = {0, 0.5, 2};
    for (const double duty : duties)
        for (const double noise : noises)
            for (unsigned seed = 0; seed < kPhases; ++seed) {
                Wave w{Shape::pulse, 93.3, 40, 210, duty, 4};
                w.noise = noise;
                w.shift = phase(seed, w.period);
                SCOPED_TRACE(describe(w, seed));
                Measured m(synthesize(w, kRecord, seed));
                EXPECT_NEAR(CalPDutyCycle(m.P.data()), duty, 0.01);
                EXPECT_NEAR(CalNDutyCycle(m.P.data()), 1 - duty, 0.01);
                const double period = w.period * kInterval;
                EXPECT_NEAR(CalPPulseWidth(m.P.data(), kInterval), duty * period, 0.01 * period);
                EXPECT_NEAR(CalNPulseWidth(m.P.data(), kInterval), (1 - duty) * period,
                            0.01 * period);
            }
}

TEST(Accuracy, RiseAndFallTimeWithinATenthSampleAndTwoPercent) {
    // 10-90 % spans of 5 to 24 samples (0.8 of the linear edge).
    const double edges[] = {6.25, 9.3, 15.7, 30};
    const double noises[] = {0, 0.5, 1, 2};
    for (const double edge : edges)
        for (const double noise : noises)
            for (unsigned seed = 0; seed < kPhases; ++seed) {
                Wave w{Shape::pulse, 151.3, 35, 225, 0.5, edge};
                w.noise = noise;
                w.shift = phase(seed, w.period);
                SCOPED_TRACE(describe(w, seed));
                Measured m(synthesize(w, kRecord, seed));
                const double expected = 0.8 * edge * kInterval;
                const double tolerance = 0.1 * kInterval + 0.02 * expected;
                EXPECT_NEAR(CalRiseTime(m.H.data(), m.L.data(), m.data.data(), m.n(), kInterval,
                                        0.9f, 0.1f),
                            expected, tolerance);
                EXPECT_NEAR(CalFallTime(m.H.data(), m.L.data(), m.data.data(), m.n(), kInterval,
                                        0.9f, 0.1f),
                            expected, tolerance);
            }
}

TEST(Accuracy, EdgeFasterThanOneSampleReadsAsUnresolved) {
    Measured m(synthesize({Shape::pulse, 64.9, 30, 220, 0.5, 0}, kRecord));
    EXPECT_EQ(CalRiseTime(m.H.data(), m.L.data(), m.data.data(), m.n(), kInterval, 0.9f, 0.1f), 0);
    EXPECT_EQ(CalFallTime(m.H.data(), m.L.data(), m.data.data(), m.n(), kInterval, 0.9f, 0.1f), 0);
}

TEST(Accuracy, RmsOfASineWithinHalfAPercent) {
    struct Case {
        double period, amplitude;  // samples, codes from the middle to the crest
        int z;                     // 0 V at code 255 - z
    };
    // From 3 to 50 whole cycles in the record (mean and RMS take every
    // sample, so a part cycle would move them); centred on 0 V and with a DC part.
    const Case cases[] = {
        {400, 100, 127}, {100, 100, 127}, {24, 60, 127}, {240, 80, 177}, {60, 40, 227}};
    for (const Case& c : cases)
        for (const double noise : {0.0, 0.5, 2.0})
            for (unsigned seed = 0; seed < kPhases; ++seed) {
                Wave w{Shape::sine, c.period, 128 - c.amplitude, 128 + c.amplitude};
                w.noise = noise;
                w.shift = phase(seed, c.period);
                SCOPED_TRACE(describe(w, seed) + " z " + std::to_string(c.z));
                Measured m(synthesize(w, kRecord, seed));
                const double dc = 128 - (255 - c.z);
                const double expected =
                    std::sqrt(dc * dc + c.amplitude * c.amplitude / 2 + noise * noise);
                EXPECT_NEAR(CalRMS(m.data.data(), m.n(), c.z, kOneMillivoltPerCode, 255), expected,
                            0.005 * expected);
                EXPECT_NEAR(CalMean(m.data.data(), m.n(), c.z, kOneMillivoltPerCode, 255), dc,
                            0.005 * c.amplitude);
            }
}

TEST(Accuracy, MeanOfAPulseIsItsBasePlusDutyTimesAmplitude) {
    for (const double duty : {0.2, 0.5, 0.7})
        for (unsigned seed = 0; seed < kPhases; ++seed) {
            Wave w{Shape::pulse, 200, 40, 200, duty, 5};
            w.shift = phase(seed, w.period);
            SCOPED_TRACE(describe(w, seed));
            Measured m(synthesize(w, kRecord, seed));
            EXPECT_NEAR(CalMean(m.data.data(), m.n(), kZeroAtCode0, kOneMillivoltPerCode, 255),
                        40 + duty * 160, 1);
        }
}

TEST(Accuracy, MeanAndRmsTakeEverySampleOfTheRecord) {
    struct Case {
        const char* name;
        Wave wave;
        int blankFrom;  // samples from here on are blanked, as while Roll fills
    };
    // Periods that do not divide the record: its part cycle counts too.
    const Case cases[] = {
        {"pulse train of 90.7 samples", {Shape::pulse, 90.7, 40, 200, 0.3, 2}, kRecord},
        {"noisy sine of 371.3 samples", {Shape::sine, 371.3, 30, 230, 0.5, 0, 11, 1}, kRecord},
        {"pulse with a blanked tail", {Shape::pulse, 90.7, 40, 200, 0.3, 2}, 700},
    };
    for (const Case& c : cases)
        for (const int z : {kZeroAtCode0, 127}) {
            SCOPED_TRACE(std::string(c.name) + " z " + std::to_string(z));
            std::vector<short> codes = synthesize(c.wave, kRecord);
            for (int i = c.blankFrom; i < kRecord; ++i) codes[static_cast<std::size_t>(i)] = 32767;
            const double zero = 255 - z;
            double sum = 0, squares = 0;
            for (int i = 0; i < c.blankFrom; ++i) {
                const double mv = codes[static_cast<std::size_t>(i)] - zero;
                sum += mv;
                squares += mv * mv;
            }
            const Measured m(codes);
            EXPECT_NEAR(CalMean(m.data.data(), m.n(), z, kOneMillivoltPerCode, 255),
                        sum / c.blankFrom, 1e-9);
            EXPECT_NEAR(CalRMS(m.data.data(), m.n(), z, kOneMillivoltPerCode, 255),
                        std::sqrt(squares / c.blankFrom), 1e-9);
        }
}

TEST(Accuracy, SameSignalOnBothChannelsIsAZeroDelayWithAPair) {
    for (const Shape shape : {Shape::pulse, Shape::sine})
        for (const double noise : {0.0, 1.0}) {
            Wave w{shape, 88.1, 40, 210, 0.4, 3};
            w.noise = noise;
            SCOPED_TRACE(describe(w, 0));
            const Measured a(synthesize(w, kRecord)), b(synthesize(w, kRecord));
            EXPECT_EQ(CalPDelay12(a.P.data(), b.P.data(), kInterval, kInterval), 0);
            EXPECT_EQ(CalNDelay12(a.H.data(), a.L.data(), b.H.data(), b.L.data(), a.data.data(),
                                  a.n(), b.data.data(), b.n(), kInterval, kInterval),
                      0);
            for (const Measured* m : {&a, &b}) {
                EXPECT_TRUE(MensylHasRisingCrossing(m->P.data()));
                EXPECT_TRUE(MensylHasFallingCrossing(m->P.data()));
            }
        }
}

TEST(Accuracy, DelayWithinThreeTenthsOfASample) {
    // CH2 is CH1 shifted by `delay` samples; the nearest crossing pair gives
    // the shift folded into half a period either way.
    const Shape shapes[] = {Shape::pulse, Shape::sine};
    const double delays[] = {0, 3.3, -4.6, 17.8, -31.2, 0.45 * 88.1, -0.45 * 88.1};
    for (const Shape shape : shapes)
        for (const double delay : delays)
            for (const double noise : {0.0, 1.0})
                for (unsigned seed = 0; seed < kPhases; ++seed) {
                    Wave one{shape, 88.1, 40, 210, 0.5, shape == Shape::pulse ? 3.0 : 0.0};
                    one.noise = noise;
                    one.shift = phase(seed, one.period);
                    Wave two = one;
                    two.shift = one.shift + delay;
                    SCOPED_TRACE(describe(one, seed) + " delay " + std::to_string(delay));
                    Measured a(synthesize(one, kRecord, seed));
                    Measured b(synthesize(two, kRecord, seed + 100));
                    EXPECT_NEAR(CalPDelay12(a.P.data(), b.P.data(), kInterval, kInterval),
                                delay * kInterval, 0.3 * kInterval);
                    EXPECT_NEAR(
                        CalNDelay12(a.H.data(), a.L.data(), b.H.data(), b.L.data(), a.data.data(),
                                    a.n(), b.data.data(), b.n(), kInterval, kInterval),
                        delay * kInterval, 0.3 * kInterval);
                }
}

TEST(Accuracy, LeadAtTheRecordStartStaysALead) {
    // CH1 rises 1.5 samples into the record; CH2 leads it by 3 samples, so
    // CH2's matching edge lies before the record.  The next pair of edges
    // inside the record still shows the lead.
    Wave one{Shape::pulse, 100.3, 40, 210, 0.5, 1, 1.5};
    Wave two = one;
    two.shift = one.shift - 3;
    Measured a(synthesize(one, kRecord));
    Measured b(synthesize(two, kRecord));
    EXPECT_NEAR(CalPDelay12(a.P.data(), b.P.data(), kInterval, kInterval), -3 * kInterval,
                0.3 * kInterval);
    EXPECT_NEAR(CalNDelay12(a.H.data(), a.L.data(), b.H.data(), b.L.data(), a.data.data(), a.n(),
                            b.data.data(), b.n(), kInterval, kInterval),
                -3 * kInterval, 0.3 * kInterval);
}

TEST(Accuracy, DelayAcrossDifferentSampleIntervals) {
    // The same 50 us square wave seen at 1 us (CH1) and 0.5 us (CH2) per
    // sample, CH2 lagging by 7 us.
    Wave one{Shape::pulse, 50, 40, 210, 0.5, 2, 10.3};
    Wave two{Shape::pulse, 100, 40, 210, 0.5, 4, 2 * (10.3 + 7)};
    Measured a(synthesize(one, kRecord));
    Measured b(synthesize(two, kRecord));
    EXPECT_NEAR(CalPDelay12(a.P.data(), b.P.data(), 1e-6, 0.5e-6), 7e-6, 0.3e-6);
    EXPECT_NEAR(CalNDelay12(a.H.data(), a.L.data(), b.H.data(), b.L.data(), a.data.data(), a.n(),
                            b.data.data(), b.n(), 1e-6, 0.5e-6),
                7e-6, 0.3e-6);
}

TEST(Accuracy, OvershootAndPreshootRelativeToTheAmplitude) {
    // A pulse from 50 to 200 with a spike 15 codes above the top after each
    // rising edge and 6 codes below the base before it.
    std::vector<short> data = synthesize({Shape::pulse, 100, 50, 200, 0.5, 0, 20.4}, kRecord);
    for (int edge = 21; edge < kRecord; edge += 100) {
        data[static_cast<std::size_t>(edge)] = 215;
        if (edge >= 2) data[static_cast<std::size_t>(edge - 2)] = 44;
    }
    Measured m(data);
    EXPECT_NEAR(CalOverShoot(m.H.data(), m.L.data()), 15.0 / 150, 1e-3);
    EXPECT_NEAR(CalPreShoot(m.H.data(), m.L.data()), 6.0 / 150, 1e-3);
}

}  // namespace
}  // namespace mensyl::test
