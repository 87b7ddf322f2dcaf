// The sampling and log-writer threads against the model: every sampled
// reading reaches the log once, in order, however the hand-overs race the
// samples and whatever the log path does meanwhile.
#include "model/meter_threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "meter_test_support.h"
#include "model/meter_data.h"

using namespace oscilane;
using namespace oscilane::testing_support;

namespace {

// True when the log holds readings 0 .. count-1 of the counting clock, each
// once and in order.
::testing::AssertionResult LogsEveryReadingInOrder(const std::string& text, int count) {
    std::vector<std::string> lines = CrLfLines(text);
    if (lines.size() != static_cast<std::size_t>(count))
        return ::testing::AssertionFailure() << lines.size() << " lines, expected " << count;
    for (int n = 0; n < count; ++n)
        if (StampNumber(lines[static_cast<std::size_t>(n)]) != n)
            return ::testing::AssertionFailure() << "line " << n << ": " << lines[n];
    return ::testing::AssertionSuccess();
}

TEST(ThreadWakeEvent, ASetBeforeTheWaitIsKeptAndUsedOnce) {
    ThreadWakeEvent event;
    event.Set();
    event.Set();
    event.Wait();
    std::atomic<bool> woke{false};
    std::thread waiter([&] {
        event.Wait();
        woke = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(woke) << "two sets before a wait count once";
    event.Set();
    waiter.join();
    EXPECT_TRUE(woke);
}

TEST(MeterThreads, SamplesOnTheClockAndWritesEverythingByTheClose) {
    TempDir dir;
    CountingClock clock;
    ManualPollClock polls;
    MeterData data(clock.clock(), polls.clock());
    ASSERT_TRUE(data.Poll(Reports(Record(0, 1.0f))));
    data.SetStorage(true);
    std::string path = dir.file("m.txt");
    data.SetLogPath(path);
    {
        MeterThreads threads(data);
        for (int n = 1; n <= 25; ++n) {
            // Two ticks make 200 ms, the interval of the first duration.
            threads.ClockTick();
            threads.ClockTick();
            ASSERT_TRUE(WaitFor([&] { return data.TrendSize() == static_cast<std::size_t>(n); }))
                << n;
            ASSERT_TRUE(WaitFor([&] { return data.ElapsedMs() == 0; }));
        }
        ASSERT_TRUE(WaitFor([&] { return CrLfLines(readBytes(path)).size() == 20; }));
        threads.Stop();
    }
    EXPECT_TRUE(LogsEveryReadingInOrder(readBytes(path), 25));
    EXPECT_EQ(data.UnwrittenReadings() + data.FillingReadings(), 0u);
}

TEST(MeterThreads, HandOversRacingSamplesLoseAndRepeatNothing) {
    TempDir dir;
    CountingClock clock;
    ManualPollClock polls;
    MeterData data(clock.clock(), polls.clock());
    ASSERT_TRUE(data.Poll(Reports(Record(0, 1.0f))));
    data.SetStorage(true);
    std::string folder = dir.file("later");
    std::string path = folder + "/m.txt";
    data.SetLogPath(path);
    MeterThreads threads(data);

    std::atomic<bool> sampling{true};
    std::thread sampler([&] {
        for (int n = 0; n < 100000 && sampling; ++n) data.Sample();
    });
    std::thread poller([&] {
        while (sampling) data.Poll(Reports(Record(0, 1.0f)));
    });
    std::thread window([&] {
        while (sampling) {
            data.HandOver();
            (void)data.Trend();
            (void)data.LastLogError();
        }
    });

    // The folder is missing at first: the error shows.  Once the folder is
    // there, batches are written while samples and hand-overs go on.
    ASSERT_TRUE(WaitFor([&] { return data.LastLogError().has_value(); }));
    std::filesystem::create_directory(folder);
    const std::uintmax_t kLineBytes = LogLine(MeterReading{}).size();
    ASSERT_TRUE(WaitFor([&] {
        std::error_code missing;
        std::uintmax_t size = std::filesystem::file_size(path, missing);
        return !missing && size >= 2000 * kLineBytes;
    }));
    sampling = false;
    sampler.join();
    poller.join();
    window.join();
    threads.HandOver();
    ASSERT_TRUE(WaitFor([&] { return !data.LastLogError().has_value(); }));
    threads.Stop();

    EXPECT_TRUE(LogsEveryReadingInOrder(readBytes(path), clock.taken()));
}

}  // namespace
