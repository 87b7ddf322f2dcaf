// Device information, setting block, screen capture and meter reading as the
// simulated instrument reports them.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "lan_fixture.h"
#include "protocol/byte_order.h"
#include "zelvo/setting_block_layout.h"

namespace zelvo::testing {
namespace {

constexpr DeviceHandle h = LanInstrumentTest::kHandle;
namespace fs = std::filesystem;

class Services : public LanInstrumentTest {
  protected:
    void SetUp() override {
        LanInstrumentTest::SetUp();
        dir_ = fs::temp_directory_path() / ("zelvo-services-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        fs::remove_all(dir_);
        LanInstrumentTest::TearDown();
    }
    fs::path dir_;
};

TEST_F(Services, DeviceInformationCarriesTheInstrumentsIdentity) {
    DeviceInfo info{};
    ASSERT_EQ(KwGetDeviceInfo(h, &info), 0);
    const sim::Identity id =
        inspect([](sim::Instrument& i, sim::Responder&) { return i.identity(); });
    EXPECT_EQ(std::string(info.name), id.name);
    EXPECT_EQ(std::string(info.serialNumber), id.serialNumber);
    EXPECT_EQ(info.date, static_cast<uint32_t>(id.year * 65536 + id.month * 256 + id.day));
}

TEST_F(Services, UploadedBlockHasItsThirtyTwoBitFieldsPutRight) {
    ASSERT_EQ(DSOSetVOLTDIV(h, 0, 7), 0);  // 100 mV/div: 10000 units of 10 uV
    ASSERT_EQ(DSOSetPulseTriggerTime(h, 0, 0x12345), 0);
    std::vector<uint8_t> block(ZELVO_SETTING_BLOCK_SIZE);
    ASSERT_EQ(DSOUploadSetting(h, block.data()), 0);
    namespace L = layout;
    EXPECT_EQ(loadLe16(block, L::firstChannelRecord(0) + L::channel::kVoltsIndex), 7);
    EXPECT_EQ(loadLe32(block, L::firstChannelRecord(0) + L::channel::kVoltsValue), 10000u);
    EXPECT_EQ(loadLe32(block, L::kMainTrigger + L::trigger::kPulseWidth), 0x12345u);
    EXPECT_EQ(loadLe32(block, L::waveformRecord(0) + L::waveform::kSampleCount), 1200u);
}

TEST_F(Services, ScreenCaptureWritesTheWholeBitmap) {
    const fs::path file = dir_ / "screen.bmp";
    ASSERT_EQ(KwScreenShoot(h, file.c_str()), 0);
    ASSERT_EQ(fs::file_size(file), 230454u);
    std::ifstream in(file, std::ios::binary);
    char magic[2];
    in.read(magic, 2);
    EXPECT_EQ(std::string(magic, 2), "BM");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}), 1)
        << "no temporary file may be left beside the picture";
}

TEST_F(Services, ScreenCaptureThatCannotWriteFailsAndLeavesNoFile) {
    const fs::path missingFolder = dir_ / "missing" / "screen.bmp";
    EXPECT_EQ(KwScreenShoot(h, missingFolder.c_str()), 1);
    EXPECT_FALSE(fs::exists(missingFolder));
    EXPECT_EQ(KwScreenShoot(h, nullptr), 1);
    EXPECT_EQ(KwScreenShoot(h, ""), 1);
}

TEST_F(Services, ScreenCaptureKeepsAnOldFileWhenTheReadFails) {
    const fs::path file = dir_ / "old.bmp";
    std::ofstream(file) << "old picture";
    setFaults({.emptyBlockReplies = true});
    EXPECT_EQ(KwScreenShoot(h, file.c_str()), 1);
    std::ifstream in(file);
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "old picture");
}

TEST_F(Services, MeterReadingFollowsTheMeterSettings) {
    ASSERT_EQ(DMMSetMeasureMode(h, 2), 0);  // resistance: the simulated input is 4.7 kOhm
    DmmInfo reading{};
    ASSERT_EQ(DMMGetInfo(h, &reading), 0);
    EXPECT_EQ(reading.measureMode, 2);
    EXPECT_EQ(reading.unitIndex, 2);
    EXPECT_EQ(reading.prefixIndex, 4);
    EXPECT_NEAR(reading.value, 4.7f, 0.05f);
}

TEST_F(Services, NullOutputPointersFailWithoutAnExchange) {
    const std::size_t before = requestCount();
    EXPECT_EQ(KwGetDeviceInfo(h, nullptr), 1);
    EXPECT_EQ(DMMGetInfo(h, nullptr), 1);
    EXPECT_EQ(DSOUploadSetting(h, nullptr), 1);
    EXPECT_EQ(DSOGetStatus(h, nullptr), 1);
    EXPECT_EQ(KwReadTDC(h, nullptr, nullptr), 1);
    EXPECT_EQ(KwGetETSUpdate(h, nullptr), 1);
    EXPECT_EQ(KwReadWaveCalData(h, nullptr), 1);
    EXPECT_EQ(DDSDownload(h, 10, nullptr), 1);
    EXPECT_EQ(requestCount(), before);
}

TEST_F(Services, FailedReadsLeaveOutputsAsTheyWere) {
    setFaults({.silent = true});
    uint8_t ets = 0x5A;
    EXPECT_EQ(KwGetETSUpdate(h, &ets), 1);
    EXPECT_EQ(ets, 0x5A);
    uint32_t low = 11, high = 12;
    EXPECT_EQ(KwReadTDC(h, &low, &high), 1);
    EXPECT_EQ(low, 11u);
    EXPECT_EQ(high, 12u);
    DmmInfo reading{};
    reading.value = 3.0f;
    EXPECT_EQ(DMMGetInfo(h, &reading), 1);
    EXPECT_EQ(reading.value, 3.0f);
}

}  // namespace
}  // namespace zelvo::testing
