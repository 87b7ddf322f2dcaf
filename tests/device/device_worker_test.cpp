// The worker's parking and stopping, the worker event and the command queue.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "device/auto_reset_event.h"
#include "device/command_queue.h"
#include "device/device_worker.h"

namespace oscilane {
namespace {

using namespace std::chrono_literals;

template <class Predicate>
bool eventually(Predicate done, std::chrono::milliseconds limit = 5s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

TEST(DeviceWorker, RunsNoPassUntilResumed) {
    std::atomic<int> passes{0};
    DeviceWorker worker([&](DeviceWorker& w) {
        ++passes;
        w.sleep(1);
    });
    ASSERT_TRUE(eventually([&] { return worker.isParked(); }));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(passes.load(), 0);
    worker.resume();
    EXPECT_TRUE(eventually([&] { return passes.load() >= 3; }));
}

TEST(DeviceWorker, ParkWaitsForTheRunningPassToEnd) {
    std::atomic<bool> inPass{false};
    std::atomic<int> passes{0};
    DeviceWorker worker([&](DeviceWorker&) {
        inPass = true;
        std::this_thread::sleep_for(30ms);  // an exchange: not interruptible
        inPass = false;
        ++passes;
    });
    worker.resume();
    ASSERT_TRUE(eventually([&] { return inPass.load(); }));
    worker.park();
    EXPECT_FALSE(inPass.load());
    EXPECT_TRUE(worker.isParked());
    const int parkedAt = passes.load();
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(passes.load(), parkedAt);

    worker.resume();
    EXPECT_TRUE(eventually([&] { return passes.load() > parkedAt; }));
}

TEST(DeviceWorker, ParkingAndStoppingCutALongSleepShort) {
    std::atomic<int> sleeps{0};
    std::atomic<bool> sleepCompleted{false};
    auto worker = std::make_unique<DeviceWorker>([&](DeviceWorker& w) {
        ++sleeps;
        if (w.sleep(60'000)) sleepCompleted = true;
    });
    worker->resume();
    ASSERT_TRUE(eventually([&] { return sleeps.load() == 1; }));
    worker->park();  // would take a minute if the sleep were not cut short
    worker->resume();
    ASSERT_TRUE(eventually([&] { return sleeps.load() == 2; }));
    worker.reset();  // stops and joins in the middle of the second sleep
    EXPECT_FALSE(sleepCompleted.load());
}

TEST(DeviceWorker, ParkKeepsCallingItsCancelUntilThePassGivesUp) {
    std::atomic<bool> cancelled{false};
    std::atomic<bool> inPass{false};
    DeviceWorker worker([&](DeviceWorker&) {
        inPass = true;
        // A block read that only ends when it is cancelled.
        while (!cancelled.load()) std::this_thread::sleep_for(1ms);
        inPass = false;
    });
    worker.resume();
    ASSERT_TRUE(eventually([&] { return inPass.load(); }));
    worker.park([&] { cancelled = true; });
    EXPECT_TRUE(cancelled.load());
    EXPECT_FALSE(inPass.load());
}

TEST(AutoResetEvent, HandsOverOnceAndWakesOneWaiter) {
    AutoResetEvent event(true);
    EXPECT_TRUE(event.tryTake());
    EXPECT_FALSE(event.tryTake());
    event.set();
    event.reset();
    EXPECT_FALSE(event.tryTake());

    std::atomic<bool> taken{false};
    std::thread waiter([&] {
        event.take();
        taken = true;
    });
    std::this_thread::sleep_for(20ms);
    EXPECT_FALSE(taken.load());
    event.set();
    waiter.join();
    EXPECT_TRUE(taken.load());
    EXPECT_FALSE(event.tryTake());  // the waiter took it
}

TEST(CommandQueue, PopsInPostingOrderAndZeroWhenEmpty) {
    CommandQueue queue;
    EXPECT_EQ(queue.pop(), (QueuedCommand{0, 0}));
    queue.push({85, 1});
    queue.push({0, 7});  // kind 0 is what an empty queue returns; it never enters
    queue.push({51, 12});
    EXPECT_EQ(queue.size(), 2u);
    EXPECT_EQ(queue.pop(), (QueuedCommand{85, 1}));
    EXPECT_EQ(queue.pop(), (QueuedCommand{51, 12}));
    EXPECT_EQ(queue.pop(), (QueuedCommand{0, 0}));
    queue.push({62, 3});
    queue.clear();
    EXPECT_TRUE(queue.pop().empty());
}

TEST(CommandQueue, ProducersAndADrainingConsumerLoseNothing) {
    CommandQueue queue;
    constexpr uint32_t kProducers = 3;
    constexpr uint32_t kEach = 2000;
    std::vector<std::thread> producers;
    for (uint32_t p = 0; p < kProducers; ++p)
        producers.emplace_back([&queue, p] {
            for (uint32_t i = 0; i < kEach; ++i) queue.push({static_cast<uint16_t>(p + 1), i});
        });
    std::vector<uint32_t> next(kProducers, 0);
    uint32_t received = 0;
    while (received < kProducers * kEach) {
        const QueuedCommand c = queue.pop();
        if (c.empty()) continue;
        // Each producer's commands come out in the order it posted them.
        const auto producer = static_cast<std::size_t>(c.kind - 1);
        ASSERT_EQ(c.argument, next[producer]);
        ++next[producer];
        ++received;
    }
    for (std::thread& t : producers) t.join();
    EXPECT_TRUE(queue.pop().empty());
}

}  // namespace
}  // namespace oscilane
