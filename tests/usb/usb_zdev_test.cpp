// The Zdev exports that the link library does not use, over the simulated
// bus: time-outs seen through the record, write-then-read, the auxiliary
// pipe, buffered upload and the device descriptor.
#include <chrono>
#include <cstring>
#include <thread>

#include "protocol/frame.h"
#include "usb_bus_fixture.h"
#include "zelvo/ZelvoDev.h"
#include "zelvo/zdev_record.h"

namespace zelvo::testing {
namespace {

class UsbZdevTest : public UsbLinkTest {
  protected:
    void SetUp() override {
        UsbLinkTest::SetUp();
        ASSERT_NE(ZdevOpenDevice(-1), -1);
        ASSERT_GT(ZdevOpenDevice(0), 15);
    }
    void TearDown() override {
        ZdevCloseDevice(0);
        UsbLinkTest::TearDown();
    }
};

TEST_F(UsbZdevTest, ReadTimeOutIsAFailureAndTheRecordCarries258) {
    ASSERT_EQ(ZdevSetTimeout(0, 1000, 300), 1);
    uint8_t buffer[64];
    uint32_t length = sizeof buffer;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ZdevReadData(0, buffer, &length), 0);
    EXPECT_EQ(length, 0u);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));

    uint8_t record[8 + 64] = {};
    record[0] = static_cast<uint8_t>(zdev::DriverCommand::ReadBulk);
    record[4] = 64;
    EXPECT_EQ(ZdevDriverCommand(0, record), 0u);
    uint32_t status = 0;
    std::memcpy(&status, record, 4);
    EXPECT_EQ(status, 258u);
}

TEST_F(UsbZdevTest, WriteReadExchangesOneRequest) {
    const RequestFrame set = encodeSetRequest(Command::ShowMenu, 3);
    uint8_t reply[64] = {};
    uint32_t length = sizeof reply;
    ASSERT_EQ(ZdevWriteRead(0, set.data(), static_cast<uint32_t>(set.size()), reply, &length), 1);
    EXPECT_EQ(length, 64u);
    EXPECT_EQ(replyValue(std::span(reply, 4)), kAcknowledge);
    EXPECT_EQ(lastRequest(0).first, code(Command::ShowMenu));
}

TEST_F(UsbZdevTest, AuxiliaryDataReachesItsPipe) {
    const uint8_t data[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    uint32_t length = sizeof data;
    const std::size_t before = server().transfersReceived(bus_->port(0));
    ASSERT_EQ(ZdevWriteAuxData(0, data, &length), 1);
    EXPECT_EQ(length, 10u);
    EXPECT_EQ(server().transfersReceived(bus_->port(0)) - before, 1u);
}

TEST_F(UsbZdevTest, BufferedUploadThroughTheExports) {
    EXPECT_EQ(ZdevQueryBufUpload(0), 0);
    ASSERT_EQ(ZdevSetBufUpload(0, 1), 1);
    const RequestFrame get = encodeGetRequest(Command::RunStatus);
    uint32_t length = get.size();
    ASSERT_EQ(ZdevWriteData(0, get.data(), &length), 1);
    for (int i = 0; i < 200 && ZdevQueryBufUpload(0) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(ZdevQueryBufUpload(0), 1);
    uint8_t reply[64];
    length = sizeof reply;
    ASSERT_EQ(ZdevReadData(0, reply, &length), 1);
    EXPECT_EQ(length, 64u);
    EXPECT_EQ(ZdevQueryBufUpload(0), 0);
    EXPECT_EQ(ZdevSetBufUpload(0, 0), 1);
    EXPECT_EQ(ZdevQueryBufUpload(5), -1);  // nothing open there
}

TEST_F(UsbZdevTest, DeviceDescriptorAndPipeCommands) {
    uint8_t d[64];
    uint32_t length = sizeof d;
    ASSERT_EQ(ZdevGetDeviceDescr(0, d, &length), 1);
    EXPECT_EQ(length, 18u);
    EXPECT_EQ(d[1], 0x01);
    for (auto call : {ZdevAbortInter, ZdevAbortRead, ZdevAbortWrite, ZdevResetInter, ZdevResetRead,
                      ZdevResetWrite, ZdevResetAux, ZdevResetDevice})
        EXPECT_EQ(call(0), 1);
    EXPECT_EQ(ZdevSetTimeoutEx(0, 1000, 1000, 2000, 0xFFFFFFFFu), 1);
    // Every one of them fails on an index with nothing open.
    EXPECT_EQ(ZdevResetRead(3), 0);
    EXPECT_EQ(ZdevSetTimeout(3, 1, 1), 0);
}

}  // namespace
}  // namespace zelvo::testing
