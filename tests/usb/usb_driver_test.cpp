// The driver over a simulated bus of its own: time-outs and the watchdog,
// exclusive open, refused devices, stalls and pipe resets, buffered
// transfers and malformed records.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <thread>

#include "driver_records.h"
#include "pipe.h"
#include "protocol/frame.h"
#include "simbus/sim_bus.h"
#include "simulated_instrument.h"
#include "usb_bus_server.h"
#include "zelvo/driver/driver.h"

namespace zelvo::testing {
namespace {

using driver::Driver;
using driver::FileHandle;
using zdev::DriverCommand;
using zdev::Status;
using Clock = std::chrono::steady_clock;

const std::vector<driver::UsbId> kIds{{0x1209, 0x0001}};

class UsbDriverTest : public ::testing::Test, protected DriverRecordCalls {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/zelvo-usb-driver-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        directory_ = pattern;
        server_ = std::make_unique<sim::UsbBusServer>(directory_ + "/bus.sock");
        port_ = server_->attach(instrument_);
        server_->start();
    }
    void TearDown() override {
        driver_.reset();
        server_.reset();
        ::rmdir(directory_.c_str());
    }
    Driver& driver() override {
        if (!driver_)
            driver_ = std::make_unique<Driver>(
                std::make_unique<driver::simbus::SimBus>(server_->socketPath()), kIds);
        return *driver_;
    }
    FileHandle openFirst() {
        const auto paths = driver().interfaces();
        FileHandle h = driver::kInvalidHandle;
        EXPECT_FALSE(paths.empty());
        if (!paths.empty()) {
            EXPECT_EQ(driver().open(paths[0], h), Status::Success);
        }
        return h;
    }
    Status sendGet(FileHandle h) { return write(h, encodeGetRequest(Command::RunStatus)); }

    std::string directory_;
    sim::SimulatedInstrument instrument_;
    std::unique_ptr<sim::UsbBusServer> server_;
    uint32_t port_ = 0;
    std::unique_ptr<Driver> driver_;
};

TEST_F(UsbDriverTest, ReadTimeOutEndsAReadWithStatus258) {
    expectReadTimesOut(openFirst(), std::chrono::seconds(5));
}

TEST_F(UsbDriverTest, TimeOutOfZeroActsAsOneMillisecond) {
    const FileHandle h = openFirst();
    ASSERT_EQ(setTimeouts(h, 0, 0), Status::Success);
    std::vector<uint8_t> r;
    const auto start = Clock::now();
    EXPECT_EQ(read(h, r), Status::Timeout);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
}

TEST_F(UsbDriverTest, DefaultTimeOutWaitsUntilDataComes) {
    const FileHandle h = openFirst();
    server_->setSlowness(port_, std::chrono::milliseconds(1500));
    ASSERT_EQ(sendGet(h), Status::Success);
    std::vector<uint8_t> r;
    EXPECT_EQ(read(h, r), Status::Success);
    EXPECT_EQ(wordAt(r, 4), 64u);
}

TEST_F(UsbDriverTest, ExclusiveRefusesASecondOpen) {
    const FileHandle h = openFirst();
    auto r = record(DriverCommand::SetExclusive, 1, {1}, 4);
    ASSERT_EQ(run(h, r), Status::Success);
    EXPECT_EQ(wordAt(r, 8), 1u);  // open handles
    FileHandle second = driver::kInvalidHandle;
    const std::string path = driver().interfaces()[0];
    EXPECT_EQ(driver().open(path, second), Status::AccessDenied);
    r = record(DriverCommand::SetExclusive, 1, {0}, 4);
    ASSERT_EQ(run(h, r), Status::Success);
    EXPECT_EQ(driver().open(path, second), Status::Success);
    EXPECT_GT(second, 15);
}

TEST_F(UsbDriverTest, BulkPacketsOfEightBytesOrLessDoNotStart) {
    sim::SimulatedInstrument small, smallest;
    sim::UsbIdentity eight;
    eight.bulkPacketSize = 8;
    sim::UsbIdentity nine;
    nine.bulkPacketSize = 9;
    const uint32_t refused = server_->attach(small, eight);
    const uint32_t started = server_->attach(smallest, nine);
    const auto paths = driver().interfaces();
    EXPECT_EQ(std::count(paths.begin(), paths.end(), server_->pathOf(refused)), 0);
    EXPECT_EQ(std::count(paths.begin(), paths.end(), server_->pathOf(started)), 1);
    FileHandle h = driver::kInvalidHandle;
    EXPECT_NE(driver().open(server_->pathOf(refused), h), Status::Success);
}

TEST_F(UsbDriverTest, DevicesOutsideTheIdListAreNotListed) {
    sim::SimulatedInstrument other;
    sim::UsbIdentity foreign;
    foreign.product = 0x0002;
    const uint32_t port = server_->attach(other, foreign);
    const auto paths = driver().interfaces();
    EXPECT_EQ(std::count(paths.begin(), paths.end(), server_->pathOf(port)), 0);
    EXPECT_EQ(paths.size(), 1u);
}

TEST_F(UsbDriverTest, StalledPipeFailsUntilReset) {
    const FileHandle h = openFirst();
    server_->stall(port_, sim::kBulkOut);
    EXPECT_EQ(sendGet(h), Status::Unsuccessful);
    auto r = record(DriverCommand::ResetPipe, 4, le32s({7}));
    ASSERT_EQ(run(h, r), Status::Success);
    EXPECT_EQ(sendGet(h), Status::Success);
    std::vector<uint8_t> reply;
    EXPECT_EQ(read(h, reply), Status::Success);
}

TEST_F(UsbDriverTest, AbortEndsAReadInFlight) {
    const FileHandle h = openFirst();
    auto pending = pendingRead(h);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_EQ(abortRead(h), Status::Success);
    ASSERT_EQ(pending.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(pending.get(), Status::Timeout);
}

TEST_F(UsbDriverTest, BufferedUploadCollectsPacketsIntoTheRing) {
    const FileHandle h = openFirst();
    auto start = record(DriverCommand::BufferedUpload, 1, {2});
    ASSERT_EQ(run(h, start), Status::Success);
    // An empty ring answers at once with nothing.
    std::vector<uint8_t> r;
    ASSERT_EQ(read(h, r), Status::Success);
    EXPECT_EQ(wordAt(r, 4), 0u);
    ASSERT_EQ(sendGet(h), Status::Success);
    uint32_t held = 0;
    for (int i = 0; i < 200 && held == 0; ++i) {
        auto query = record(DriverCommand::BufferedUpload, 1, {1}, 4);
        ASSERT_EQ(run(h, query), Status::Success);
        held = wordAt(query, 8);
        if (held == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(held, 1u);
    ASSERT_EQ(read(h, r), Status::Success);
    EXPECT_EQ(wordAt(r, 4), 64u);
    auto stop = record(DriverCommand::BufferedUpload, 1, {0});
    EXPECT_EQ(run(h, stop), Status::Success);
}

TEST_F(UsbDriverTest, BufferedDownloadSendsQueuedRecords) {
    const FileHandle h = openFirst();
    auto start = record(DriverCommand::BufferedDownload, 1, {2});
    ASSERT_EQ(run(h, start), Status::Success);
    ASSERT_EQ(sendGet(h), Status::Success);
    std::vector<uint8_t> r;
    ASSERT_EQ(setTimeouts(h, 1000, 2000), Status::Success);
    EXPECT_EQ(read(h, r), Status::Success);  // the download thread delivered the request
}

TEST_F(UsbDriverTest, MalformedRecordsAreRefused) {
    const FileHandle h = openFirst();
    struct Case {
        const char* name;
        std::vector<uint8_t> in;
        std::size_t outSize;
        Status expected;
    };
    const Case cases[] = {
        {"shorter than a header", {6, 0, 0, 0}, 8, Status::BufferTooSmall},
        {"unknown command", record(static_cast<DriverCommand>(99), 0), 8, Status::InvalidParameter},
        {"read with no room", record(DriverCommand::ReadBulk, 64), 8, Status::BufferTooSmall},
        {"read above 4096", record(DriverCommand::ReadBulk, 5000, {}, 5000), 5008,
         Status::InvalidParameter},
        {"write shorter than its length", record(DriverCommand::WriteBulk, 100, {1, 2}), 8,
         Status::BufferTooSmall},
        {"unknown pipe", record(DriverCommand::AbortPipe, 4, le32s({9})), 8, Status::NoSuchDevice},
        {"control request of no known kind",
         record(DriverCommand::ControlTransfer, 8, {0x20, 1, 0, 0, 0, 0, 0, 0}), 16,
         Status::InvalidParameter},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> out(std::max(c.outSize, c.in.size()));
        uint32_t returned = 0;
        EXPECT_EQ(driver().deviceControl(h, zdev::kControlCode, c.in,
                                         std::span(out).first(c.outSize), returned),
                  c.expected)
            << c.name;
    }
    std::vector<uint8_t> r = record(DriverCommand::Version, 0, {}, 64);
    uint32_t returned = 0;
    EXPECT_EQ(driver().deviceControl(h, 0x220000, r, r, returned), Status::InvalidParameter);
    EXPECT_EQ(driver().deviceControl(12345, zdev::kControlCode, r, r, returned),
              Status::InvalidHandle);
}

TEST_F(UsbDriverTest, UnplugEndsEveryTransferAndLaterOpensFail) {
    const FileHandle h = openFirst();
    const std::string path = driver().interfaces()[0];
    auto pending = std::async(std::launch::async, [&] {
        std::vector<uint8_t> r;
        return read(h, r);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    server_->unplug(port_);
    ASSERT_EQ(pending.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(pending.get(), Status::DeviceNotConnected);
    EXPECT_NE(sendGet(h), Status::Success);
    EXPECT_TRUE(driver().interfaces().empty());
    FileHandle again = driver::kInvalidHandle;
    EXPECT_NE(driver().open(path, again), Status::Success);
    server_->plug(port_);
    EXPECT_EQ(driver().interfaces().size(), 1u);
    EXPECT_EQ(driver().open(path, again), Status::Success);
}

// A device whose transfers finish only when cancelled, from a thread of its
// own as a bus's event thread would.
class CancelOnlyDevice final : public driver::BusDevice {
  public:
    ~CancelOnlyDevice() override {
        for (std::thread& t : finishers_) t.join();
    }
    std::optional<driver::TransferId> submit(driver::TransferType, uint8_t, std::span<uint8_t>,
                                             driver::Completion done) override {
        std::lock_guard lock(mutex_);
        done_ = std::move(done);
        return 1;
    }
    void cancel(driver::TransferId) override {
        std::lock_guard lock(mutex_);
        if (!done_) return;
        finishers_.emplace_back([done = std::move(done_)] {
            done({driver::TransferStatus::Cancelled, 0});
        });
        done_ = nullptr;
    }
    bool clearHalt(uint8_t) override { return true; }
    bool resetDevice() override { return true; }

  private:
    std::mutex mutex_;
    driver::Completion done_;
    std::vector<std::thread> finishers_;
};

TEST(UsbPipe, ATransferEndedByDepartureReportsDeviceNotConnectedNotATimeOut) {
    struct Case {
        bool deviceGone;
        Status expected;
    };
    for (const Case c : {Case{false, Status::Timeout}, Case{true, Status::DeviceNotConnected}}) {
        CancelOnlyDevice device;
        driver::Pipe pipe(0x82, driver::TransferType::Bulk);
        std::vector<uint8_t> buffer(64);
        std::promise<void> inFlight;
        auto result = std::async(std::launch::async, [&] {
            std::size_t moved = 0;
            return pipe.transfer(device, buffer, moved, [&] { inFlight.set_value(); });
        });
        inFlight.get_future().wait();
        if (c.deviceGone)
            pipe.abortDeviceGone();
        else
            pipe.abort();
        ASSERT_EQ(result.wait_for(std::chrono::seconds(5)), std::future_status::ready);
        EXPECT_EQ(result.get(), c.expected) << "device gone: " << c.deviceGone;
    }
}

}  // namespace
}  // namespace zelvo::testing
