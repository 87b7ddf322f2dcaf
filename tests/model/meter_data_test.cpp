// MeterData driven by hand, one step at a time: polling, the trend, the
// storage batches and what happens to them when the log cannot be written.
#include "model/meter_data.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "meter_test_support.h"
#include "model/meter_tables.h"
#include "model/meter_texts.h"

using namespace oscilane;
using namespace oscilane::testing_support;

namespace {

class MeterDataTest : public testing::Test {
  protected:
    CountingClock clock;
    ManualPollClock polls;
    MeterData data{clock.clock(), polls.clock()};
    TempDir dir;

    void PollVolts(float value = 1.0f) { ASSERT_TRUE(data.Poll(Reports(Record(0, value)))); }

    // Samples n times and lists which samples (1-based) handed a buffer over.
    std::vector<int> SampleTimes(int n) {
        std::vector<int> handedAt;
        for (int i = 1; i <= n; ++i)
            if (data.Sample()) handedAt.push_back(i);
        return handedAt;
    }

    std::vector<int> LoggedStamps(const std::string& path) {
        std::vector<int> stamps;
        for (const std::string& line : CrLfLines(readBytes(path)))
            stamps.push_back(StampNumber(line));
        return stamps;
    }

    // step, 2 * step, ... up to 30.
    static std::vector<int> Every(int step) {
        std::vector<int> numbers;
        for (int n = step; n <= 30; n += step) numbers.push_back(n);
        return numbers;
    }

    static std::vector<int> Range(int from, int to) {
        std::vector<int> numbers;
        for (int n = from; n < to; ++n) numbers.push_back(n);
        return numbers;
    }
};

TEST_F(MeterDataTest, FailedPollChangesNothing) {
    PollVolts(2.0f);
    data.Sample();
    auto scribbles = [](DmmInfo* out) {
        out->measureMode = 2;
        out->value = 99;
        return 1;
    };
    EXPECT_FALSE(data.Poll(scribbles));
    EXPECT_EQ(data.Current().value, 2.0f);
    EXPECT_EQ(data.LastGood().measureMode, 0);
    EXPECT_EQ(data.TrendSize(), 1u);
}

TEST_F(MeterDataTest, PollDecodesOnTopOfThePreviousRecord) {
    // The decoder leaves the range index alone in auto range, so it must see
    // the previous record's.
    DmmInfo manual = Record(0, 1.0f);
    manual.rangeIndex = 4;
    ASSERT_TRUE(data.Poll(Reports(manual)));
    ASSERT_TRUE(data.Poll([](DmmInfo* out) {
        out->value = 3.0f;
        return 0;
    }));
    EXPECT_EQ(data.LastGood().rangeIndex, 4);
    EXPECT_EQ(data.LastGood().value, 3.0f);
}

TEST_F(MeterDataTest, NothingIsSampledBeforeTheFirstGoodPoll) {
    data.SetStorage(true);
    EXPECT_FALSE(data.Sample());
    EXPECT_EQ(data.TrendSize(), 0u);
    EXPECT_EQ(data.FillingReadings(), 0u);
}

TEST_F(MeterDataTest, AStaleRecordIsNotSampledUntilAGoodPollArrives) {
    using std::chrono::milliseconds;
    const auto fails = [](DmmInfo* out) {
        out->value = 7.0f;
        return 1;
    };
    data.SetStorage(true);
    PollVolts();
    struct {
        milliseconds since;  // since the last good poll
        bool stale;
    } steps[] = {
        {milliseconds(0), false},    {kMeterPollPeriod, false},
        {kStaleReadingAfter, false}, {kStaleReadingAfter + milliseconds(1), true},
        {milliseconds(10000), true},  // as after a reconnection
    };
    milliseconds at(0);
    int sampled = 0;
    for (const auto& step : steps) {
        polls.advance(step.since - at);
        at = step.since;
        EXPECT_FALSE(data.Poll(fails));
        EXPECT_EQ(data.Stale(), step.stale) << step.since.count() << " ms";
        data.Sample();
        if (!step.stale) ++sampled;
        EXPECT_EQ(data.TrendSize(), static_cast<std::size_t>(sampled)) << step.since.count();
        EXPECT_EQ(data.FillingReadings(), static_cast<std::size_t>(sampled));
    }
    // Nothing was stamped for the samples not taken: the log has a gap.
    EXPECT_EQ(clock.taken(), sampled);

    PollVolts(2.0f);
    EXPECT_FALSE(data.Stale());
    data.Sample();
    ASSERT_EQ(data.TrendSize(), static_cast<std::size_t>(sampled + 1));
    EXPECT_EQ(data.Trend().back().value, 2.0f);
}

TEST_F(MeterDataTest, The1201stReadingDropsTheFirst) {
    PollVolts();
    SampleTimes(1201);
    std::vector<MeterReading> trend = data.Trend();
    ASSERT_EQ(trend.size(), 1200u);
    EXPECT_EQ(LogLine(trend.front()), LogLine(MeterReading{1.0f, 7, 0, StampOf(1), 0, 0, 0}));
    EXPECT_EQ(LogLine(trend.back()), LogLine(MeterReading{1.0f, 7, 0, StampOf(1200), 0, 0, 0}));
}

TEST_F(MeterDataTest, ANewMeasureModeEmptiesTheTrend) {
    PollVolts();
    SampleTimes(3);
    PollVolts();
    EXPECT_EQ(data.TrendSize(), 3u) << "the same mode keeps the trend";
    ASSERT_TRUE(data.Poll(Reports(Record(2, 5.0f, 4, 2))));
    EXPECT_EQ(data.TrendSize(), 0u);
    data.Sample();
    ASSERT_EQ(data.TrendSize(), 1u);
    EXPECT_EQ(data.Trend()[0].measureMode, 2);
}

TEST_F(MeterDataTest, BufferModeHandsNothingOver) {
    PollVolts();
    EXPECT_TRUE(SampleTimes(40).empty());
    EXPECT_FALSE(data.HandOver());
    EXPECT_EQ(data.UnwrittenReadings(), 0u);
}

TEST_F(MeterDataTest, BatchesSpanTwoSecondsOfReadings) {
    struct {
        int durationIndex;
        std::vector<int> handedAt;
    } cases[] = {
        {0, Every(10)},  // 200 ms: ten readings a batch
        {1, Every(5)},   // 400 ms
        {3, Every(2)},   // 1000 ms
        {4, Every(1)},   // 2000 ms: every reading
        {10, Every(1)},  // 720000 ms
    };
    for (const auto& c : cases) {
        MeterData meter(clock.clock(), polls.clock());
        ASSERT_TRUE(meter.SetDuration(c.durationIndex));
        ASSERT_TRUE(meter.Poll(Reports(Record(0, 1.0f))));
        meter.SetStorage(true);
        std::string path = dir.file("batch" + std::to_string(c.durationIndex) + ".txt");
        meter.SetLogPath(path);
        LogFileWriter writer;
        std::vector<int> handedAt;
        for (int i = 1; i <= 30; ++i) {
            if (!meter.Sample()) continue;
            handedAt.push_back(i);
            EXPECT_TRUE(meter.WriteHandedOver(writer));
        }
        EXPECT_EQ(handedAt, c.handedAt) << "duration " << c.durationIndex;
        EXPECT_EQ(CrLfLines(readBytes(path)).size(), 30u);
    }
}

TEST_F(MeterDataTest, AnUnwritableLogLosesNothingAndTheErrorComesAndGoes) {
    PollVolts();
    data.SetStorage(true);
    std::string folder = dir.file("usb-stick");
    std::string path = folder + "/m.txt";
    data.SetLogPath(path);
    LogFileWriter writer;

    for (int batch = 0; batch < 3; ++batch) {
        EXPECT_EQ(SampleTimes(10), std::vector<int>{10});
        EXPECT_FALSE(data.WriteHandedOver(writer));
    }
    ASSERT_TRUE(data.LastLogError());
    EXPECT_EQ(data.LastLogError()->rfind(std::string(msg::kCannotWriteLog) + path, 0), 0u)
        << *data.LastLogError();
    EXPECT_EQ(data.UnwrittenReadings(), 30u);

    std::filesystem::create_directory(folder);
    SampleTimes(4);  // not yet a batch: stays in the filling buffer
    EXPECT_EQ(data.UnwrittenReadings(), 30u);
    EXPECT_EQ(SampleTimes(6), std::vector<int>{6});
    EXPECT_TRUE(data.WriteHandedOver(writer));
    EXPECT_FALSE(data.LastLogError());
    EXPECT_EQ(LoggedStamps(path), Range(0, 40));
    EXPECT_EQ(data.UnwrittenReadings(), 0u);
}

TEST_F(MeterDataTest, HandOverSendsTheUnfinishedBatch) {
    PollVolts();
    data.SetStorage(true);
    std::string path = dir.file("m.txt");
    data.SetLogPath(path);
    LogFileWriter writer;
    SampleTimes(4);
    EXPECT_TRUE(data.HandOver());
    EXPECT_EQ(data.FillingReadings(), 0u);
    EXPECT_TRUE(data.WriteHandedOver(writer));
    SampleTimes(12);  // a batch of 10 and two left over
    EXPECT_TRUE(data.WriteHandedOver(writer));
    EXPECT_EQ(data.FillingReadings(), 2u);
    EXPECT_EQ(LoggedStamps(path), Range(0, 14));
}

TEST_F(MeterDataTest, LeavingStorageModeStillLogsWhatWasSampled) {
    PollVolts();
    data.SetStorage(true);
    std::string path = dir.file("m.txt");
    data.SetLogPath(path);
    SampleTimes(7);
    data.SetStorage(false);
    EXPECT_EQ(data.TrendSize(), 0u);
    EXPECT_EQ(data.UnwrittenReadings(), 7u);
    LogFileWriter writer;
    EXPECT_TRUE(data.WriteHandedOver(writer));
    EXPECT_EQ(LoggedStamps(path), Range(0, 7));
    SampleTimes(20);
    EXPECT_FALSE(data.HandOver());
}

TEST_F(MeterDataTest, SamplingClockFiresOnceTheIntervalIsReached) {
    struct {
        int durationIndex;
        int ticks;
    } cases[] = {{0, 2}, {3, 10}, {4, 20}, {8, 2400}};
    for (const auto& c : cases) {
        ASSERT_TRUE(data.SetDuration(c.durationIndex));
        data.Reset();
        for (int tick = 1; tick < c.ticks; ++tick) ASSERT_FALSE(data.ClockTick()) << tick;
        EXPECT_TRUE(data.ClockTick()) << c.durationIndex;
        data.RestartClock();
        EXPECT_EQ(data.ElapsedMs(), 0);
    }
}

TEST_F(MeterDataTest, DurationOutsideTheTableIsRefused) {
    ASSERT_TRUE(data.SetDuration(10));
    EXPECT_FALSE(data.SetDuration(11));
    EXPECT_FALSE(data.SetDuration(-1));
    EXPECT_EQ(data.DurationIndex(), 10);
    EXPECT_EQ(data.IntervalMs(), 720000);
}

TEST_F(MeterDataTest, SaveTrendWritesTheTrendOldestFirstAndReplacesTheFile) {
    ASSERT_TRUE(data.Poll(Reports(Record(2, 12.5f, 4, 2))));
    SampleTimes(3);
    std::string path = dir.file("trend.doc");
    WriteFile(path, std::string(500, 'x'));
    ASSERT_TRUE(data.SaveTrend(path));
    EXPECT_EQ(readBytes(path),
              "07/12/2026 00:00:00.00 R=12.50 KRDC\r\n"
              "07/12/2026 00:00:00.01 R=12.50 KRDC\r\n"
              "07/12/2026 00:00:00.02 R=12.50 KRDC\r\n");
    EXPECT_FALSE(data.SaveTrend(dir.file("missing/trend.doc")));
}

}  // namespace
