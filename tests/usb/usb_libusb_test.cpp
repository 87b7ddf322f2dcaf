// The driver over the real libusb bus, with umockdev standing in for the
// kernel's USB file system: the simulated instrument answers the URBs that
// libusb submits, so enumeration, asynchronous transfers, cancellation on
// abort and on time-out, and a device that goes away all take libusb's own
// code path.  Runs under umockdev-wrapper.
#include <gtest/gtest.h>
#include <linux/usbdevice_fs.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <umockdev.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "driver_records.h"
#include "libusb/libusb_bus.h"
#include "protocol/frame.h"
#include "simulated_instrument.h"
#include "usb_port.h"
#include "zelvo/command_codes.h"
#include "zelvo/driver/driver.h"

namespace zelvo::testing {
namespace {

using driver::Driver;
using driver::FileHandle;
using zdev::DriverCommand;
using zdev::Status;
using Clock = std::chrono::steady_clock;

constexpr const char* kDevicePath = "/sys/devices/zelvo-test/usb1/1-1";
constexpr const char* kDeviceNode = "/dev/bus/usb/001/002";

std::string hex(const std::vector<uint8_t>& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (uint8_t b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

// The instrument behind /dev/bus/usb/001/002: answers usbfs ioctls from a
// sim::UsbPort.  URBs on IN endpoints wait until the port has a packet due;
// every ioctl runs on umockdev's worker thread, under one lock.
class FakeUsbfs {
  public:
    FakeUsbfs() : port_(instrument_, {}) {}
    ~FakeUsbfs() {
        std::lock_guard lock(mutex_);
        for (Urb& u : waiting_) g_object_unref(u.urb);
        for (Urb& u : done_) g_object_unref(u.urb);
    }
    FakeUsbfs(const FakeUsbfs&) = delete;
    FakeUsbfs& operator=(const FakeUsbfs&) = delete;

    // For the descriptors only: the port is otherwise used under the lock.
    sim::UsbPort& port() { return port_; }
    // From now on every ioctl fails as the kernel's do for an unplugged
    // device, and URBs in flight end with -ENODEV.
    void unplug() {
        std::lock_guard lock(mutex_);
        gone_ = true;
    }
    void plug() {
        std::lock_guard lock(mutex_);
        port_.flush();
        gone_ = false;
    }
    std::size_t discarded() {
        std::lock_guard lock(mutex_);
        return discarded_;
    }
    void raiseInterrupt(std::span<const uint8_t> report) {
        std::lock_guard lock(mutex_);
        port_.raiseInterrupt(report);
    }
    std::size_t packetsSent() {
        std::lock_guard lock(mutex_);
        return port_.packetsSent();
    }

    static gboolean onIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self) {
        return static_cast<FakeUsbfs*>(self)->handle(client);
    }

  private:
    struct Urb {
        UMockdevIoctlData* urb;     // the caller's usbdevfs_urb, resolved
        UMockdevIoctlData* buffer;  // its buffer, resolved
    };
    static usbdevfs_urb* fields(const Urb& u) {
        return reinterpret_cast<usbdevfs_urb*>(u.urb->data);
    }

    gboolean handle(UMockdevIoctlClient* client) {
        const unsigned long request = umockdev_ioctl_client_get_request(client);
        UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
        std::lock_guard lock(mutex_);
        const auto fail = [&](int error) {
            umockdev_ioctl_client_complete(client, -1, error);
            return TRUE;
        };
        const auto succeed = [&] {
            umockdev_ioctl_client_complete(client, 0, 0);
            return TRUE;
        };
        switch (request) {
            case USBDEVFS_GET_CAPABILITIES: {
                const uint32_t caps =
                    USBDEVFS_CAP_BULK_CONTINUATION | USBDEVFS_CAP_NO_PACKET_SIZE_LIM;
                UMockdevIoctlData* out = pointee(arg, 0, sizeof caps);
                if (out == nullptr) return fail(EFAULT);
                std::memcpy(out->data, &caps, sizeof caps);
                return succeed();
            }
            case USBDEVFS_CLAIMINTERFACE:
            case USBDEVFS_RELEASEINTERFACE:
            case USBDEVFS_SETINTERFACE:
            case USBDEVFS_SETCONFIGURATION:
            case USBDEVFS_RESET:
                return gone_ ? fail(ENODEV) : succeed();
            case USBDEVFS_DISCONNECT_CLAIM:
                // An older kernel: libusb then asks which driver is bound.
                return fail(ENOTTY);
            case USBDEVFS_GETDRIVER:
            case USBDEVFS_IOCTL:
                // No kernel driver is bound to detach.
                return fail(ENODATA);
            case USBDEVFS_CLEAR_HALT: {
                if (gone_) return fail(ENODEV);
                unsigned int endpoint = 0;
                UMockdevIoctlData* in = pointee(arg, 0, sizeof endpoint);
                if (in == nullptr) return fail(EFAULT);
                std::memcpy(&endpoint, in->data, sizeof endpoint);
                port_.clearHalt(static_cast<uint8_t>(endpoint));
                return succeed();
            }
            case USBDEVFS_SUBMITURB:
                return submit(arg) ? succeed() : fail(ENODEV);
            case USBDEVFS_DISCARDURB: {
                unsigned long urb = 0;
                std::memcpy(&urb, arg->data, sizeof urb);
                return discard(urb) ? succeed() : fail(EINVAL);
            }
            case USBDEVFS_REAPURB:
            case USBDEVFS_REAPURBNDELAY:
                return reap(client, arg);
            default:
                return fail(ENOTTY);
        }
    }

    // The ioctl's argument is the caller's pointer; resolving it makes umockdev
    // fetch what it points to and write changes back when the call completes.
    static UMockdevIoctlData* pointee(UMockdevIoctlData* arg, gsize offset, gsize length) {
        GError* error = nullptr;
        UMockdevIoctlData* data = umockdev_ioctl_data_resolve(arg, offset, length, &error);
        g_clear_error(&error);
        return data;
    }

    bool submit(UMockdevIoctlData* arg) {
        if (gone_) return false;
        UMockdevIoctlData* urbData = pointee(arg, 0, sizeof(usbdevfs_urb));
        if (urbData == nullptr) return false;
        auto* raw = reinterpret_cast<usbdevfs_urb*>(urbData->data);
        UMockdevIoctlData* buffer = pointee(urbData, offsetof(usbdevfs_urb, buffer),
                                            static_cast<gsize>(raw->buffer_length));
        if (buffer == nullptr) return false;
        Urb u{static_cast<UMockdevIoctlData*>(g_object_ref(urbData)), buffer};
        usbdevfs_urb* urb = fields(u);
        urb->status = 0;
        urb->actual_length = 0;
        const auto now = sim::UsbClock::now();
        if (urb->type == USBDEVFS_URB_TYPE_CONTROL) {
            control(u);
            done_.push_back(u);
        } else if ((urb->endpoint & 0x80) == 0) {
            if (port_.stalled(urb->endpoint)) {
                urb->status = -EPIPE;
            } else {
                port_.out(urb->endpoint,
                          std::span<const uint8_t>(buffer->data,
                                                   static_cast<std::size_t>(urb->buffer_length)),
                          now);
                urb->actual_length = urb->buffer_length;
            }
            done_.push_back(u);
        } else {
            waiting_.push_back(u);
        }
        return true;
    }

    void control(const Urb& u) {
        usbdevfs_urb* urb = fields(u);
        const std::span<uint8_t> all(u.buffer->data, static_cast<std::size_t>(urb->buffer_length));
        if (all.size() < 8) {
            urb->status = -EINVAL;
            return;
        }
        const auto reply = port_.control(all.first(8), all.subspan(8));
        if (!reply) {
            urb->status = -EPIPE;
            return;
        }
        if ((all[0] & 0x80) != 0) {
            const std::size_t n = std::min(reply->size(), all.size() - 8);
            std::copy_n(reply->begin(), n, all.begin() + 8);
            urb->actual_length = static_cast<int>(n);
        } else {
            urb->actual_length = static_cast<int>(all.size() - 8);
        }
    }

    bool discard(unsigned long address) {
        for (auto it = waiting_.begin(); it != waiting_.end(); ++it) {
            if (it->urb->client_addr != address) continue;
            fields(*it)->status = -ENOENT;
            done_.push_back(*it);
            waiting_.erase(it);
            ++discarded_;
            return true;
        }
        return false;
    }

    // An IN URB completes when its buffer is full or a short packet came.
    void serveWaiting() {
        const auto now = sim::UsbClock::now();
        for (auto it = waiting_.begin(); it != waiting_.end();) {
            usbdevfs_urb* urb = fields(*it);
            if (gone_) {
                urb->status = -ENODEV;
            } else if (port_.stalled(urb->endpoint)) {
                urb->status = -EPIPE;
            } else {
                bool complete = false;
                while (!complete) {
                    auto packet = port_.takePacket(urb->endpoint, now);
                    if (!packet) break;
                    const auto room =
                        static_cast<std::size_t>(urb->buffer_length - urb->actual_length);
                    if (packet->size() > room) {
                        urb->status = -EOVERFLOW;
                        complete = true;
                        break;
                    }
                    std::copy(packet->begin(), packet->end(),
                              it->buffer->data + urb->actual_length);
                    urb->actual_length += static_cast<int>(packet->size());
                    complete = packet->size() < sim::kUsbPacket ||
                               urb->actual_length == urb->buffer_length;
                }
                if (!complete) {
                    ++it;
                    continue;
                }
            }
            done_.push_back(*it);
            it = waiting_.erase(it);
        }
    }

    gboolean reap(UMockdevIoctlClient* client, UMockdevIoctlData* arg) {
        serveWaiting();
        if (done_.empty()) {
            umockdev_ioctl_client_complete(client, -1, gone_ ? ENODEV : EAGAIN);
            return TRUE;
        }
        Urb u = done_.front();
        done_.pop_front();
        UMockdevIoctlData* slot = pointee(arg, 0, sizeof(void*));
        if (slot != nullptr) umockdev_ioctl_data_set_ptr(slot, 0, u.urb);
        umockdev_ioctl_client_complete(client, 0, 0);
        g_object_unref(u.urb);
        return TRUE;
    }

    sim::SimulatedInstrument instrument_;
    sim::UsbPort port_;
    std::mutex mutex_;
    std::deque<Urb> waiting_;
    std::deque<Urb> done_;
    bool gone_ = false;
    std::size_t discarded_ = 0;
};

class LibusbUmockdevTest : public ::testing::Test, protected DriverRecordCalls {
  protected:
    void SetUp() override {
        const char* preload = std::getenv("LD_PRELOAD");
        ASSERT_TRUE(preload != nullptr && std::strstr(preload, "umockdev-preload") != nullptr)
            << "run under umockdev-wrapper";
        ::setenv("ZELVO_USB_IDS", "1209:0001", 1);
        testbed_ = umockdev_testbed_new();
        GError* error = nullptr;
        ASSERT_TRUE(umockdev_testbed_add_from_string(testbed_, deviceRecord().c_str(), &error))
            << (error ? error->message : "");
        handler_ = umockdev_ioctl_base_new();
        g_signal_connect(handler_, "handle-ioctl", G_CALLBACK(&FakeUsbfs::onIoctl), &fake_);
        ASSERT_TRUE(umockdev_testbed_attach_ioctl(testbed_, kDeviceNode, handler_, &error))
            << (error ? error->message : "");
        auto bus = driver::usb::LibusbBus::create();
        ASSERT_NE(bus, nullptr);
        driver_ = std::make_unique<Driver>(std::move(bus), driver::configuredUsbIds());
    }
    void TearDown() override {
        driver_.reset();
        if (testbed_ != nullptr) {
            umockdev_testbed_detach_ioctl(testbed_, kDeviceNode, nullptr);
            g_object_unref(testbed_);
        }
        if (handler_ != nullptr) g_object_unref(handler_);
    }

    // The instrument's sysfs entry: bus 1, port 1, address 2, with the
    // descriptors the simulated port reports.
    std::string deviceRecord() {
        return std::string(
                   "P: /devices/zelvo-test/usb1/1-1\n"
                   "N: bus/usb/001/002\n"
                   "E: SUBSYSTEM=usb\n"
                   "E: DEVTYPE=usb_device\n"
                   "E: DRIVER=usb\n"
                   "E: BUSNUM=001\n"
                   "E: DEVNUM=002\n"
                   "E: DEVNAME=/dev/bus/usb/001/002\n"
                   "A: busnum=1\\n\n"
                   "A: devnum=2\\n\n"
                   "A: speed=480\\n\n"
                   "A: bConfigurationValue=1\\n\n"
                   "H: descriptors=") +
               hex(fake_.port().deviceDescriptor()) + hex(fake_.port().configDescriptor()) + "\n";
    }

    // The uevent reaches libusb through a socket: give it a moment.
    std::vector<std::string> interfacesSettleOn(std::size_t count) {
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        auto paths = driver_->interfaces();
        while (paths.size() != count && Clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            paths = driver_->interfaces();
        }
        return paths;
    }

    Driver& driver() override { return *driver_; }
    FileHandle openFirst() {
        const auto paths = driver_->interfaces();
        FileHandle h = driver::kInvalidHandle;
        EXPECT_EQ(paths.size(), 1u);
        if (!paths.empty()) {
            EXPECT_EQ(driver_->open(paths[0], h), Status::Success);
        }
        return h;
    }

    FakeUsbfs fake_;
    UMockdevTestbed* testbed_ = nullptr;
    UMockdevIoctlBase* handler_ = nullptr;
    std::unique_ptr<Driver> driver_;
};

TEST_F(LibusbUmockdevTest, EnumerationFindsTheInstrumentByItsIds) {
    const auto paths = driver_->interfaces();
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(paths[0], "usb-1-1");
    auto other = std::make_unique<Driver>(driver::usb::LibusbBus::create(),
                                          std::vector<driver::UsbId>{{0x1209, 0x0002}});
    EXPECT_TRUE(other->interfaces().empty()) << "a product the list does not name";
}

TEST_F(LibusbUmockdevTest, SetExchangeAndDeviceInformationBlockRead) {
    const FileHandle h = openFirst();
    ASSERT_EQ(setTimeouts(h, 1000, 1000), Status::Success);
    const RequestFrame set = encodeSetRequest(Command::ShowMenu, 3);
    ASSERT_EQ(write(h, set), Status::Success);
    std::vector<uint8_t> r;
    ASSERT_EQ(read(h, r), Status::Success);
    EXPECT_EQ(wordAt(r, 4), 64u);

    ASSERT_EQ(write(h, encodeBlockReadRequest(Block::DeviceInformation,
                                              static_cast<uint32_t>(kDeviceInfoBlockSize))),
              Status::Success);
    ASSERT_EQ(read(h, r), Status::Success);  // the first answer
    std::vector<uint8_t> block;
    for (std::size_t i = 0; i < (kDeviceInfoBlockSize + 63) / 64; ++i) {
        ASSERT_EQ(read(h, r), Status::Success) << "packet " << i;
        ASSERT_EQ(wordAt(r, 4), 64u);
        block.insert(block.end(), r.begin() + 8, r.begin() + 72);
    }
    // The same block as a fresh instrument streams it, byte for byte.
    sim::SimulatedInstrument reference;
    sim::UsbPort referencePort(reference, {});
    const auto now = sim::UsbClock::now();
    referencePort.out(sim::kBulkOut,
                      encodeBlockReadRequest(Block::DeviceInformation,
                                             static_cast<uint32_t>(kDeviceInfoBlockSize)),
                      now);
    ASSERT_TRUE(referencePort.takePacket(sim::kBulkIn, now));  // its first answer
    std::vector<uint8_t> expected;
    while (auto p = referencePort.takePacket(sim::kBulkIn, now))
        expected.insert(expected.end(), p->begin(), p->end());
    EXPECT_EQ(block, expected);
    // One answer to the set, then the first answer and three packets.
    EXPECT_EQ(fake_.packetsSent(), 1 + 1 + (kDeviceInfoBlockSize + 63) / 64);
    // Nothing more is on its way.
    ASSERT_EQ(setTimeouts(h, 1000, 100), Status::Success);
    EXPECT_EQ(read(h, r), Status::Timeout);
    EXPECT_TRUE(driver_->close(h));
}

TEST_F(LibusbUmockdevTest, ControlAndInterruptTransfersComplete) {
    const FileHandle h = openFirst();
    const std::vector<uint8_t> config = fake_.port().configDescriptor();
    const auto length = static_cast<uint32_t>(config.size());
    auto r = record(DriverCommand::ConfigDescriptor, length, {}, length);
    ASSERT_EQ(run(h, r, 8), Status::Success);
    EXPECT_EQ(wordAt(r, 4), length);
    EXPECT_EQ(std::vector<uint8_t>(r.begin() + 8, r.end()), config);

    const std::vector<uint8_t> report{1, 2, 3, 4, 5, 6, 7, 8};
    fake_.raiseInterrupt(report);
    ASSERT_EQ(setTimeouts(h, 1000, 1000), Status::Success);
    r = record(DriverCommand::ReadInterrupt, 8, {}, 8);
    ASSERT_EQ(run(h, r, 8), Status::Success);
    EXPECT_EQ(wordAt(r, 4), 8u);
    EXPECT_EQ(std::vector<uint8_t>(r.begin() + 8, r.end()), report);
}

TEST_F(LibusbUmockdevTest, ReadTimeOutCancelsTheTransferWithStatus258) {
    const FileHandle h = openFirst();
    ASSERT_NO_FATAL_FAILURE(expectReadTimesOut(h, std::chrono::seconds(3)));
    EXPECT_EQ(fake_.discarded(), 1u) << "the URB was discarded, not left in flight";
    // The pipe still works after the cancelled transfer.
    ASSERT_EQ(write(h, encodeGetRequest(Command::RunStatus)), Status::Success);
    ASSERT_EQ(setTimeouts(h, 1000, 1000), Status::Success);
    std::vector<uint8_t> r;
    EXPECT_EQ(read(h, r), Status::Success);
}

TEST_F(LibusbUmockdevTest, AbortCancelsAReadInFlight) {
    const FileHandle h = openFirst();
    auto pending = pendingRead(h);  // the default time-out waits for ever
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    ASSERT_EQ(pending.wait_for(std::chrono::milliseconds(0)), std::future_status::timeout);
    ASSERT_EQ(abortRead(h), Status::Success);
    ASSERT_EQ(pending.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(pending.get(), Status::Timeout);
    EXPECT_EQ(fake_.discarded(), 1u);
}

TEST_F(LibusbUmockdevTest, UnplugEndsATransferInFlightAndReplugKeepsThePath) {
    const FileHandle h = openFirst();
    auto pending = pendingRead(h);
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    fake_.unplug();
    // libusb learns of departures from udev, as from the kernel.
    umockdev_testbed_uevent(testbed_, kDevicePath, "remove");
    umockdev_testbed_remove_device(testbed_, kDevicePath);
    ASSERT_EQ(pending.wait_for(std::chrono::seconds(5)), std::future_status::ready)
        << "the read hangs after the device went away";
    EXPECT_EQ(pending.get(), Status::DeviceNotConnected);
    EXPECT_NE(write(h, encodeGetRequest(Command::RunStatus)), Status::Success);
    EXPECT_TRUE(interfacesSettleOn(0).empty());
    EXPECT_TRUE(driver_->close(h));

    // Back in the same port: the same path, and it works again.
    fake_.plug();
    GError* error = nullptr;
    ASSERT_TRUE(umockdev_testbed_add_from_string(testbed_, deviceRecord().c_str(), &error))
        << (error ? error->message : "");
    umockdev_testbed_uevent(testbed_, kDevicePath, "add");
    const auto paths = interfacesSettleOn(1);
    ASSERT_EQ(paths, std::vector<std::string>{"usb-1-1"});
    FileHandle again = driver::kInvalidHandle;
    ASSERT_EQ(driver_->open(paths[0], again), Status::Success);
    ASSERT_EQ(setTimeouts(again, 1000, 1000), Status::Success);
    ASSERT_EQ(write(again, encodeGetRequest(Command::RunStatus)), Status::Success);
    std::vector<uint8_t> r;
    EXPECT_EQ(read(again, r), Status::Success);
}

}  // namespace
}  // namespace zelvo::testing
