// Input a caller may hand over by mistake or that the instrument may send:
// tiny and empty records, blanked points, flat lines, random codes, records
// of random bytes, unusable arguments.  Every result must stay finite,
// "cannot measure" must read as 0 or less, and nothing may be read past n
// samples or written past a record.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "mensyl/Mensyl.h"
#include "synth.h"

namespace mensyl::test {
namespace {

constexpr short kBlanked = 32767;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Every one of the 23 results over the records and samples given.
std::vector<double> allResults(const void* H, const void* L, const void* P, const short* data,
                               int n, double t = kInterval) {
    const double f = 100, z = 127;
    return {CalVpp(H, L, f, 255),
            CalMaxVolt(H, z, f),
            CalMinVolt(L, z, f),
            CalAmplitude(H, L, f),
            CalTopVolt(H, z, f),
            CalMidVolt(H, L, z, f, 255),
            CalBaseVolt(L, z, f),
            CalMean(data, n, z, f, 255),
            CalRMS(data, n, z, f, 255),
            CalPreShoot(H, L),
            CalOverShoot(H, L),
            CalPDutyCycle(P),
            CalNDutyCycle(P),
            CalPeriod(P, t),
            CalFrequency(P, t),
            CalPPulseWidth(P, t),
            CalNPulseWidth(P, t),
            CalRiseTime(H, L, data, n, t, 0.9f, 0.1f),
            CalFallTime(H, L, data, n, t, 0.9f, 0.1f),
            CalPDelay12(P, P, t, t),
            CalNDelay12(H, L, H, L, data, n, data, n, t, t)};
}

// The results that need a cycle or an edge, all "cannot measure".
void expectNoTiming(const Measured& m) {
    EXPECT_EQ(CalPeriod(m.P.data(), kInterval), 0);
    EXPECT_EQ(CalFrequency(m.P.data(), kInterval), 0);
    EXPECT_EQ(CalPDutyCycle(m.P.data()), 0);
    EXPECT_EQ(CalNDutyCycle(m.P.data()), 0);
    EXPECT_EQ(CalPPulseWidth(m.P.data(), kInterval), 0);
    EXPECT_EQ(CalNPulseWidth(m.P.data(), kInterval), 0);
    EXPECT_LE(CalRiseTime(m.H.data(), m.L.data(), m.data.data(), m.n(), kInterval, 0.9f, 0.1f), 0);
    EXPECT_LE(CalFallTime(m.H.data(), m.L.data(), m.data.data(), m.n(), kInterval, 0.9f, 0.1f), 0);
    EXPECT_EQ(CalOverShoot(m.H.data(), m.L.data()), 0);
    EXPECT_EQ(CalPreShoot(m.H.data(), m.L.data()), 0);
}

TEST(HostileInput, TinyRecords) {
    for (const int n : {1, 2}) {
        SCOPED_TRACE(n);
        std::vector<short> data(static_cast<std::size_t>(n), 100);
        if (n == 2) data[1] = 200;
        Measured m(data);
        EXPECT_EQ(FindPeriod(m.P.data(), m.H.data(), m.L.data(), m.data.data(), n), 1);
        expectNoTiming(m);
        EXPECT_EQ(CalMaxVolt(m.H.data(), kZeroAtCode0, kOneMillivoltPerCode), data.back());
        EXPECT_EQ(CalMinVolt(m.L.data(), kZeroAtCode0, kOneMillivoltPerCode), 100);
        EXPECT_EQ(CalMean(data.data(), n, kZeroAtCode0, kOneMillivoltPerCode, 255),
                  n == 1 ? 100 : 150);
    }
}

TEST(HostileInput, EmptyAndNegativeCountsFindNothing) {
    short one = 100;
    for (const int n : {0, -1, -1200}) {
        SCOPED_TRACE(n);
        unsigned char H[10], L[10], P[12];
        std::memset(H, 0xA5, sizeof H);
        std::memset(L, 0xA5, sizeof L);
        std::memset(P, 0xA5, sizeof P);
        EXPECT_EQ(PreMeas(H, L, &one, n), 1);
        EXPECT_EQ(FindPeriod(P, H, L, &one, n), 1);
        // Rise and fall times read -1 for "no edge", all else 0.
        for (const double r : allResults(H, L, P, &one, n)) EXPECT_TRUE(r == 0 || r == -1) << r;
        for (const double r : allResults(H, L, P, nullptr, n)) EXPECT_TRUE(r == 0 || r == -1) << r;
    }
}

TEST(HostileInput, NullPointersAreSafe) {
    short data[4] = {10, 200, 10, 200};
    EXPECT_EQ(PreMeas(nullptr, nullptr, data, 4), 0);
    EXPECT_EQ(PreMeas(nullptr, nullptr, nullptr, 4), 1);
    EXPECT_EQ(FindPeriod(nullptr, nullptr, nullptr, data, 4), 1);
    unsigned char P[12];
    EXPECT_EQ(FindPeriod(P, nullptr, nullptr, data, 4), 1);
    for (const double r : allResults(nullptr, nullptr, nullptr, nullptr, 4)) EXPECT_LE(r, 0);
    // Without levels only the mean and RMS, which take the samples alone, can be measured.
    const std::vector<double> results = allResults(nullptr, nullptr, P, data, 4);
    for (std::size_t i = 0; i < results.size(); ++i)
        if (i != 7 && i != 8) {
            EXPECT_LE(results[i], 0) << i;
        }
    EXPECT_NEAR(results[7], (105 - 128) * 100 * 8 / 255.0, 1e-9);
}

TEST(HostileInput, FullyBlankedRecordHasNoLevels) {
    Measured m(std::vector<short>(1200, kBlanked));
    for (const double r : allResults(m.H.data(), m.L.data(), m.P.data(), m.data.data(), m.n()))
        EXPECT_LE(r, 0);
    EXPECT_EQ(PreMeas(m.H.data(), m.L.data(), m.data.data(), m.n()), 1);
    EXPECT_EQ(std::vector<unsigned char>(10, 0), m.H);
}

TEST(HostileInput, BlankedPointsAreNoSamples) {
    // Blanked runs and scattered blanked points, also in the middle of edges,
    // leave the levels, period and duty cycle of a square wave as they were.
    const Wave w{Shape::pulse, 71.3, 50, 200, 0.3, 6, 12.7};
    std::vector<short> data = synthesize(w, 1200);
    for (std::size_t i = 0; i < data.size(); i += 7) data[i] = kBlanked;
    for (std::size_t i = 300; i < 380; ++i) data[i] = kBlanked;
    data[5] = -1;
    data[6] = 256;
    Measured m(data);
    EXPECT_EQ(CalMaxVolt(m.H.data(), kZeroAtCode0, kOneMillivoltPerCode), 200);
    EXPECT_EQ(CalMinVolt(m.L.data(), kZeroAtCode0, kOneMillivoltPerCode), 50);
    EXPECT_NEAR(CalPeriod(m.P.data(), 1), 71.3, 0.07);
    EXPECT_NEAR(CalPDutyCycle(m.P.data()), 0.3, 0.01);
    EXPECT_NEAR(CalMean(m.data.data(), m.n(), kZeroAtCode0, kOneMillivoltPerCode, 255),
                50 + 0.3 * 150, 1.5);
}

TEST(HostileInput, FlatLinesHaveNoTiming) {
    struct Case {
        double code;
        double noise;
    };
    for (const Case c : {Case{0, 0}, Case{128, 0}, Case{255, 0}, Case{128, 0.5}, Case{128, 2}}) {
        SCOPED_TRACE(std::to_string(c.code) + " noise " + std::to_string(c.noise));
        Wave flat{Shape::pulse, 100, c.code, c.code};
        flat.noise = c.noise;
        Measured m(synthesize(flat, 1200, 3));
        expectNoTiming(m);
        EXPECT_EQ(FindPeriod(m.P.data(), m.H.data(), m.L.data(), m.data.data(), m.n()), 1);
        EXPECT_NEAR(CalTopVolt(m.H.data(), kZeroAtCode0, kOneMillivoltPerCode), c.code, 2);
        EXPECT_NEAR(CalBaseVolt(m.L.data(), kZeroAtCode0, kOneMillivoltPerCode), c.code, 2);
        // No pair of edges: the delays' 0 is told from a delay by the records.
        EXPECT_FALSE(MensylHasRisingCrossing(m.P.data()));
        EXPECT_FALSE(MensylHasFallingCrossing(m.P.data()));
        Measured pulse(synthesize({Shape::pulse, 100, 50, 200, 0.5, 2}, 1200));
        EXPECT_EQ(CalPDelay12(pulse.P.data(), m.P.data(), kInterval, kInterval), 0);
        EXPECT_EQ(
            CalNDelay12(pulse.H.data(), pulse.L.data(), m.H.data(), m.L.data(), pulse.data.data(),
                        pulse.n(), m.data.data(), m.n(), kInterval, kInterval),
            0);
    }
}

TEST(HostileInput, TooLittleAmplitudeHasNoTiming) {
    Measured m(synthesize({Shape::pulse, 50, 120, 123, 0.5}, 1200));
    expectNoTiming(m);
}

TEST(HostileInput, OneEdgeGivesEdgeTimesButNoCycle) {
    // A single rising edge: no whole cycle, but a rise time and a delay.
    std::vector<short> data(1200, 40);
    for (int i = 600; i < 1200; ++i)
        data[static_cast<std::size_t>(i)] = static_cast<short>(i < 610 ? 40 + 17 * (i - 600) : 210);
    Measured m(data);
    EXPECT_EQ(FindPeriod(m.P.data(), m.H.data(), m.L.data(), m.data.data(), m.n()), 1);
    EXPECT_EQ(CalPeriod(m.P.data(), kInterval), 0);
    EXPECT_EQ(CalPDutyCycle(m.P.data()), 0);
    EXPECT_NEAR(CalRiseTime(m.H.data(), m.L.data(), m.data.data(), m.n(), 1, 0.9f, 0.1f), 8, 0.1);
    EXPECT_LT(CalFallTime(m.H.data(), m.L.data(), m.data.data(), m.n(), 1, 0.9f, 0.1f), 0);
    EXPECT_TRUE(MensylHasRisingCrossing(m.P.data()));
    EXPECT_FALSE(MensylHasFallingCrossing(m.P.data()));
    EXPECT_FALSE(MensylHasRisingCrossing(nullptr));
    std::vector<short> later(data.begin() + 5, data.end());
    later.insert(later.end(), 5, 210);
    Measured m2(later);
    EXPECT_NEAR(CalPDelay12(m.P.data(), m2.P.data(), 1, 1), -5, 0.01);
}

TEST(HostileInput, UnusableArgumentsCannotMeasure) {
    Measured m(synthesize({Shape::pulse, 80.3, 40, 210, 0.5, 8}, 1200));
    const void *H = m.H.data(), *L = m.L.data(), *P = m.P.data();
    for (const double t : {0.0, -1e-6, kNaN, std::numeric_limits<double>::infinity()}) {
        SCOPED_TRACE(t);
        EXPECT_EQ(CalPeriod(P, t), 0);
        EXPECT_EQ(CalFrequency(P, t), 0);
        EXPECT_EQ(CalPPulseWidth(P, t), 0);
        EXPECT_EQ(CalNPulseWidth(P, t), 0);
        EXPECT_LE(CalRiseTime(H, L, m.data.data(), m.n(), t, 0.9f, 0.1f), 0);
        EXPECT_LE(CalFallTime(H, L, m.data.data(), m.n(), t, 0.9f, 0.1f), 0);
        EXPECT_EQ(CalPDelay12(P, P, t, kInterval), 0);
        EXPECT_EQ(CalNDelay12(H, L, H, L, m.data.data(), m.n(), m.data.data(), m.n(), kInterval, t),
                  0);
    }
    for (const double f : {kNaN, std::numeric_limits<double>::infinity()})
        for (const double r :
             {CalVpp(H, L, f, 255), CalMaxVolt(H, 0, f), CalTopVolt(H, 0, f), CalAmplitude(H, L, f),
              CalMean(m.data.data(), m.n(), 0, f, 255), CalRMS(m.data.data(), m.n(), 0, f, 255)})
            EXPECT_EQ(r, 0);
    for (const int full : {0, -255}) {
        EXPECT_EQ(CalVpp(H, L, 100, full), 0);
        EXPECT_EQ(CalMidVolt(H, L, 0, 100, full), 0);
        EXPECT_EQ(CalRMS(m.data.data(), m.n(), 0, 100, full), 0);
    }
    // Reference levels out of order or outside the amplitude.
    for (const auto& [hi, lo] : {std::pair{0.1f, 0.9f}, std::pair{1.5f, 0.1f},
                                 std::pair{0.9f, -0.1f}, std::pair{std::nanf(""), 0.1f}})
        EXPECT_LE(CalRiseTime(H, L, m.data.data(), m.n(), kInterval, hi, lo), 0);
    // A period record passed as a level record and the other way round.
    EXPECT_EQ(CalTopVolt(P, 0, 100), 0);
    EXPECT_EQ(CalVpp(L, H, 100, 255), 0);
}

TEST(HostileInput, ReadsOnlyTheFirstNSamples) {
    // Samples past n, which the caller may not own, change nothing.
    std::vector<short> record = synthesize({Shape::pulse, 61.7, 40, 210, 0.35, 5}, 1200);
    std::vector<short> garbled = record;
    std::mt19937 random(5);
    for (std::size_t i = 700; i < garbled.size(); ++i) garbled[i] = static_cast<short>(random());
    const int n = 700;
    Measured clean(std::vector<short>(record.begin(), record.begin() + n));
    unsigned char H[10], L[10], P[12];
    PreMeas(H, L, garbled.data(), n);
    FindPeriod(P, H, L, garbled.data(), n);
    EXPECT_EQ(0, std::memcmp(H, clean.H.data(), 10));
    EXPECT_EQ(0, std::memcmp(L, clean.L.data(), 10));
    EXPECT_EQ(0, std::memcmp(P, clean.P.data(), 12));
    EXPECT_EQ(allResults(H, L, P, garbled.data(), n),
              allResults(clean.H.data(), clean.L.data(), clean.P.data(), clean.data.data(), n));
}

TEST(HostileInput, RandomCodesAndRandomRecordsStayFiniteAndInBounds) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        const int n = static_cast<int>(random() % 1300);
        std::vector<short> data(static_cast<std::size_t>(n));
        for (short& s : data)
            s = round % 2 ? static_cast<short>(random()) : static_cast<short>(random() % 256);
        // Records inside larger buffers whose tails must stay untouched.
        std::vector<unsigned char> H(16, 0xA5), L(16, 0xA5), P(16, 0xA5);
        PreMeas(H.data(), L.data(), data.data(), n);
        FindPeriod(P.data(), H.data(), L.data(), data.data(), n);
        for (std::size_t i = 10; i < 16; ++i) EXPECT_EQ(H[i], 0xA5);
        for (std::size_t i = 10; i < 16; ++i) EXPECT_EQ(L[i], 0xA5);
        for (std::size_t i = 12; i < 16; ++i) EXPECT_EQ(P[i], 0xA5);
        for (const double r : allResults(H.data(), L.data(), P.data(), data.data(), n))
            EXPECT_TRUE(std::isfinite(r));
        // Records of random bytes.
        for (unsigned char& b : H) b = static_cast<unsigned char>(random());
        for (unsigned char& b : L) b = static_cast<unsigned char>(random());
        for (unsigned char& b : P) b = static_cast<unsigned char>(random());
        if (round % 3 == 0) H[0] = 'H', L[0] = 'L';
        for (const double r : allResults(H.data(), L.data(), P.data(), data.data(), n))
            EXPECT_TRUE(std::isfinite(r));
    }
}

}  // namespace
}  // namespace mensyl::test
