// The access library's threads: interrupt reports reach the routine, plug
// events reach the notify routine with 3 on arrival and 1, 0 on removal.
#include <condition_variable>
#include <mutex>
#include <vector>

#include "usb_bus_fixture.h"
#include "zelvo/ZelvoDev.h"

namespace zelvo::testing {
namespace {

// What the C routines saw; they have no context argument.
struct Seen {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::vector<uint8_t>> interrupts;
    std::vector<uint32_t> events;

    template <class P>
    bool waitFor(P done) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), done);
    }
};
Seen seen;

void ZDEV_CALL onInterrupt(const uint8_t* data) {
    std::lock_guard lock(seen.mutex);
    seen.interrupts.emplace_back(data, data + 8);
    seen.changed.notify_all();
}

void ZDEV_CALL onPlug(uint32_t event) {
    std::lock_guard lock(seen.mutex);
    seen.events.push_back(event);
    seen.changed.notify_all();
}

using UsbRoutinesTest = UsbLinkTest;

TEST_F(UsbRoutinesTest, InterruptReportsReachTheRoutineUntilItIsCleared) {
    ASSERT_NE(ZdevOpenDevice(-1), -1);
    ASSERT_EQ(ZdevSetIntRoutine(1, onInterrupt), 1);
    const std::vector<uint8_t> report{1, 2, 3, 4, 5, 6, 7, 8};
    server().raiseInterrupt(bus_->port(1), report);
    ASSERT_TRUE(seen.waitFor([] { return !seen.interrupts.empty(); }));
    EXPECT_EQ(seen.interrupts.front(), report);
    // Clearing stops the reader thread, which waits on the endpoint with no time-out.
    ASSERT_EQ(ZdevSetIntRoutine(1, nullptr), 1);
    server().raiseInterrupt(bus_->port(1), report);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::lock_guard lock(seen.mutex);
    EXPECT_EQ(seen.interrupts.size(), 1u);
}

TEST_F(UsbRoutinesTest, ClosingTheEntryStopsItsInterruptReader) {
    ASSERT_NE(ZdevOpenDevice(-1), -1);
    ASSERT_GT(ZdevOpenDevice(0), 15);
    ASSERT_EQ(ZdevSetIntRoutine(0, onInterrupt), 1);
    EXPECT_EQ(ZdevCloseDevice(0), 1);
    server().raiseInterrupt(bus_->port(0), std::vector<uint8_t>(8, 0x55));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::lock_guard lock(seen.mutex);
    EXPECT_TRUE(seen.interrupts.empty());
}

TEST_F(UsbRoutinesTest, PlugEventsPassTheFilter) {
    ASSERT_EQ(ZdevSetDeviceNotify(0, "sim-1-2", onPlug), 1);
    ASSERT_EQ(ZdevSetDeviceNotify(3, "no such device", onPlug), 1);
    // One round trip to the bus: the driver is connected before anything is unplugged.
    ASSERT_NE(ZdevOpenDevice(-1), -1);
    server().unplug(bus_->port(1));
    ASSERT_TRUE(seen.waitFor([] { return seen.events.size() >= 2; }));
    server().plug(bus_->port(1));
    ASSERT_TRUE(seen.waitFor([] { return seen.events.size() >= 3; }));
    // An instrument outside the filter raises nothing.
    server().unplug(bus_->port(0));
    server().plug(bus_->port(0));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_EQ(ZdevSetDeviceNotify(0, nullptr, nullptr), 1);
    std::lock_guard lock(seen.mutex);
    EXPECT_EQ(seen.events, (std::vector<uint32_t>{ZDEV_EVENT_REMOVE_PENDING, ZDEV_EVENT_REMOVED,
                                                  ZDEV_EVENT_ARRIVED}));
}

}  // namespace
}  // namespace zelvo::testing
