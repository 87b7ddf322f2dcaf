// A window's connection to the simulated instrument over UDP: connect and
// disconnect, the worker's cycle, link loss and recovery, and two windows
// asking for one instrument.
#include "device_link_fixture.h"  // first: see there

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <thread>

#include "device/device_messages.h"
#include "device/device_tables.h"
#include "meter/meter_commands.h"
#include "scope/scope_commands.h"

namespace oscilane::testing {
namespace {

using zelvo::Command;
using zelvo::DecodedRequest;
using zelvo::Opcode;

bool isSet(const DecodedRequest& r, Command c) {
    return r.opcode == Opcode::Set && r.first == static_cast<uint32_t>(c);
}

bool isUpload(const DecodedRequest& r) {
    return r.opcode == Opcode::BlockRead &&
           r.second == static_cast<uint32_t>(zelvo::Block::Setting);
}

TEST_F(DeviceLinkTest, ConnectSelectsTheFunctionUploadsOnceAndClaimsOnlyTheLanEntry) {
    auto link = makeLink(DeviceFunction::Scope, kUpdateSingle);
    ASSERT_EQ(link->Connect(), 1);
    EXPECT_TRUE(link->isConnected());
    EXPECT_TRUE(DeviceTables::instance().isConnected(Transport::Lan, 0));
    EXPECT_FALSE(DeviceTables::instance().isConnected(Transport::Usb, 0));
    EXPECT_FALSE(DeviceTables::instance().isConnected(Transport::Serial, 0));

    // Single mode still uploads once on connect, and reports it as new data.
    ASSERT_TRUE(eventually([&] { return uploadsOf(*link).takeNewData(); }));
    EXPECT_FALSE(uploadsOf(*link).requested());
    const std::vector<DecodedRequest> seen = requests();
    const auto function =
        std::find_if(seen.begin(), seen.end(), [](auto& r) { return isSet(r, Command::Function); });
    ASSERT_NE(function, seen.end());
    EXPECT_EQ(function->second, 0u);
    EXPECT_TRUE(std::any_of(function, seen.end(), isUpload));
    // The uploaded block is the instrument's, not the zeros it started as.
    ASSERT_TRUE(link->event().tryTake());
    const ScopeData::Block& block =
        dynamic_cast<ScopeSession&>(*link->session()).data().uploadedBlock;
    EXPECT_TRUE(std::any_of(block.begin(), block.end(), [](uint8_t b) { return b != 0; }));
    link->event().set();

    EXPECT_EQ(link->Disconnect(), 1);
    EXPECT_FALSE(DeviceTables::instance().isConnected(Transport::Lan, 0));
    EXPECT_EQ(link->Disconnect(), 0);
    EXPECT_TRUE(messages_.texts().isEmpty());
}

TEST_F(DeviceLinkTest, CommandsPostedWhileDisconnectedNeverReachTheInstrument) {
    auto link = makeLink(DeviceFunction::Scope, kUpdateSingle);
    link->Post(scope_command::shown(ScopeChannel::Ch1, true));
    link->Post(scope_command::mathOperator(3));
    ASSERT_EQ(link->Connect(), 1);
    EXPECT_EQ(link->pendingCommands(), 0u);
    ASSERT_TRUE(eventually([&] { return uploads() == 1; }));
    for (const DecodedRequest& r : requests()) {
        EXPECT_FALSE(isSet(r, Command::ChannelEnable));
        EXPECT_FALSE(isSet(r, Command::MathOperator));
    }
}

TEST_F(DeviceLinkTest, PostsBetweenTwoCyclesGoOutInOrderBeforeTheUpload) {
    auto link = makeLink(DeviceFunction::Scope, kUpdateSingle);
    ASSERT_EQ(link->Connect(), 1);
    ASSERT_TRUE(eventually([&] { return uploads() == 1; }));

    // Holding the event keeps the worker out of its next cycle while we post.
    ASSERT_TRUE(eventually([&] { return link->event().tryTake(); }));
    link->Post(scope_command::shown(ScopeChannel::Ch1, true));
    link->Post(scope_command::timeBase(TriggerRecord::Main, 12));
    link->Post(scope_command::mathOperator(4));  // FFT
    uploadsOf(*link).request();
    link->event().set();
    ASSERT_TRUE(eventually([&] { return uploads() == 2; }));

    std::vector<DecodedRequest> seen = requests();
    const auto upload = std::find_if(seen.rbegin(), seen.rend(), isUpload).base() - 1;
    ASSERT_GE(upload - seen.begin(), 4);
    EXPECT_TRUE(isSet(*(upload - 4), Command::LinkCheck));
    EXPECT_TRUE(isSet(*(upload - 3), Command::ChannelEnable));
    EXPECT_TRUE(isSet(*(upload - 2), Command::TimeBase));
    EXPECT_TRUE(isSet(*(upload - 1), Command::MathOperator));
    EXPECT_EQ((upload - 1)->second & 0xFF, 4u);
}

TEST_F(DeviceLinkTest, AutomaticModeKeepsUploadingUntilDisconnected) {
    auto link = makeLink(DeviceFunction::Scope, kUpdateAutomatic);
    ASSERT_EQ(link->Connect(), 1);
    ASSERT_TRUE(eventually([&] { return uploads() >= 3; }));
    ASSERT_EQ(link->Disconnect(), 1);
    const std::size_t atDisconnect = uploads();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(uploads(), atDisconnect);
}

TEST_F(DeviceLinkTest, UploadPercentClimbsDuringASlowUploadAndFallsBackToZeroAfterIt) {
    // Each reply late, so the block's replies are spread over about a second.
    setFaults({.replyDelay = std::chrono::milliseconds(40)});
    auto link = makeLink(DeviceFunction::Scope, kUpdateSingle);
    EXPECT_EQ(UploadWatch::percent(*link), 0);  // nothing open yet
    ASSERT_EQ(link->Connect(), 1);
    std::vector<int> seen;
    ASSERT_TRUE(eventually([&] {
        seen.push_back(UploadWatch::percent(*link));
        return uploadsOf(*link).takeNewData();
    }));
    const auto firstPart = std::find_if(seen.begin(), seen.end(), [](int p) { return p > 0; });
    ASSERT_NE(firstPart, seen.end());
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](int p) { return p > 0 && p < 100; }));
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](int p) { return p >= 0 && p <= 100; }));
    // The one upload never goes backwards until it ends.
    const auto lastPart = std::find(firstPart, seen.end(), 0);
    EXPECT_TRUE(std::is_sorted(firstPart, lastPart));
    EXPECT_EQ(UploadWatch::percent(*link), 0);
    ASSERT_EQ(link->Disconnect(), 1);
    EXPECT_EQ(UploadWatch::percent(*link), 0);
}

TEST_F(DeviceLinkTest, ALostLinkDropsTheQueueAndRecoversWhenTheInstrumentAnswersAgain) {
    auto link = makeLink(DeviceFunction::Scope, kUpdateSingle);
    ASSERT_EQ(link->Connect(), 1);
    ASSERT_TRUE(eventually([&] { return uploads() == 1; }));

    setFaults({.silent = true});
    ASSERT_TRUE(eventually([&] { return link->linkLost(); }));
    EXPECT_TRUE(link->isConnected());  // a loss is shown, not acted on
    link->Post(scope_command::shown(ScopeChannel::Ch1, false));
    ASSERT_TRUE(eventually([&] { return link->pendingCommands() == 0; }));

    setFaults({});
    ASSERT_TRUE(eventually([&] { return !link->linkLost(); }));
    for (const DecodedRequest& r : requests()) EXPECT_FALSE(isSet(r, Command::ChannelEnable));
    // Commands flow again once the link is back.
    link->Post(scope_command::shown(ScopeChannel::Ch1, true));
    EXPECT_TRUE(eventually([&] {
        const auto seen = requests();
        return std::any_of(seen.begin(), seen.end(),
                           [](auto& r) { return isSet(r, Command::ChannelEnable); });
    }));
}

TEST_F(DeviceLinkTest, DisconnectWhileTheLinkIsLostClearsTheLoss) {
    auto link = makeLink(DeviceFunction::Scope, kUpdateSingle);
    ASSERT_EQ(link->Connect(), 1);
    setFaults({.silent = true});
    ASSERT_TRUE(eventually([&] { return link->linkLost(); }));
    ASSERT_EQ(link->Disconnect(), 1);
    EXPECT_FALSE(link->linkLost());
    // The parked worker does not bring the loss back.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(link->linkLost());
}

TEST_F(DeviceLinkTest, ASecondWindowIsRefusedAndTheFirstKeepsItsLink) {
    auto first = makeLink(DeviceFunction::Scope, kUpdateAutomatic);
    auto second = makeLink(DeviceFunction::Scope, kUpdateAutomatic);
    ASSERT_EQ(first->Connect(), 1);
    EXPECT_EQ(second->Connect(), 0);
    EXPECT_EQ(messages_.texts(), QStringList{QString::fromLatin1(msg::kDeviceAlreadyConnected)});
    EXPECT_FALSE(second->isConnected());
    // The first window's uploads go on.
    const std::size_t before = uploads();
    EXPECT_TRUE(eventually([&] { return uploads() >= before + 2; }));
    EXPECT_EQ(second->Disconnect(), 0);
    EXPECT_TRUE(DeviceTables::instance().isConnected(Transport::Lan, 0));
}

TEST_F(DeviceLinkTest, AnInstrumentHeldElsewhereIsRefusedOnEveryTransportWithoutOpening) {
    for (Transport t : {Transport::Usb, Transport::Serial, Transport::Lan}) {
        DeviceTables::instance().clear();
        messages_.clear();
        CDeviceLink link;
        LinkSettings s;
        s.transport = t;
        s.deviceIndex = 1;
        s.serialPort = 1;
        link.applySettings(s);
        // A LAN instrument is held by its address, in whichever slot its window took.
        if (t == Transport::Lan) {
            ASSERT_EQ(DeviceTables::instance().claimLanSlot(s.lanAddress).slot, 0u);
        }
        ASSERT_TRUE(t == Transport::Lan || DeviceTables::instance().claim(t, 1));
        EXPECT_EQ(link.Connect(), 0) << "transport " << static_cast<int>(t);
        EXPECT_EQ(messages_.texts(),
                  QStringList{QString::fromLatin1(msg::kDeviceAlreadyConnected)});
        EXPECT_TRUE(DeviceTables::instance().isConnected(t, t == Transport::Lan ? 0 : 1));
    }
}

TEST_F(DeviceLinkTest, AFailedOpenIsReportedAndLeavesTheEntryFree) {
    setFaults({.silent = true});
    auto link = makeLink(DeviceFunction::Scope);
    EXPECT_EQ(link->Connect(), 0);
    EXPECT_EQ(messages_.texts(), QStringList{QString::fromLatin1(msg::kCannotConnect)});
    EXPECT_FALSE(DeviceTables::instance().isConnected(Transport::Lan, 0));
}

TEST_F(DeviceLinkTest, ConnectWithoutAWorkerSaysSoButStaysConnected) {
    CDeviceLink link;
    link.applySettings(lanSettings());
    EXPECT_EQ(link.Connect(), 1);
    EXPECT_EQ(messages_.texts(), QStringList{QString::fromLatin1(msg::kCannotResumeThread)});
    EXPECT_EQ(link.Disconnect(), 1);
}

TEST_F(DeviceLinkTest, WhileConnectedOnlyTheUpdateSettingsChange) {
    auto link = makeLink(DeviceFunction::Scope, kUpdateSingle);
    ASSERT_EQ(link->Connect(), 1);
    LinkSettings other = link->settings();
    other.transport = Transport::Usb;
    other.deviceIndex = 5;
    other.updateMode = kUpdateAutomatic;
    other.intervalIndex = 1;
    link->applySettings(other);
    const LinkSettings now = link->settings();
    EXPECT_EQ(now.transport, Transport::Lan);
    EXPECT_EQ(now.deviceIndex, 0u);
    EXPECT_EQ(now.updateMode, kUpdateAutomatic);
    EXPECT_EQ(now.intervalIndex, 1);
    // Automatic mode takes effect in the running worker.
    EXPECT_TRUE(eventually([&] { return uploads() >= 3; }));
}

TEST_F(DeviceLinkTest, MeterWorkerPollsAndAFailedSettingIsReportedWithoutStoppingIt) {
    auto link = makeLink(DeviceFunction::Meter);
    ASSERT_EQ(link->Connect(), 1);
    ASSERT_TRUE(eventually([&] {
        if (!link->event().tryTake()) return false;
        const bool polled = dynamic_cast<MeterSession&>(*link->session()).goodPolls() >= 2;
        link->event().set();
        return polled;
    }));

    // A failing meter call on a worker thread: the box is queued to this
    // thread, which is not running its event loop, yet the call returns.
    CDeviceLink unopened;
    LinkSettings dead;
    dead.transport = Transport::Lan;
    dead.deviceIndex = 9;  // a LAN slot nobody opened: every call fails at once
    unopened.applySettings(dead);
    unopened.adoptSession(sessionFor(DeviceFunction::Meter));
    std::thread worker([&] { unopened.Execute(queued({MeterCommandKind::MeasureMode, 2})); });
    worker.join();
    EXPECT_TRUE(messages_.texts().isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(messages_.texts(), QStringList{QStringLiteral("Can not set DMM measure mode!")});

    // Disconnecting a meter link that is polling returns promptly.
    EXPECT_EQ(link->Disconnect(), 1);
}

TEST_F(DeviceLinkTest, EndingTheWorkerWhileConnectedClosesTheLink) {
    auto link = makeLink(DeviceFunction::Scope);
    ASSERT_EQ(link->Connect(), 1);
    ASSERT_TRUE(eventually([&] { return uploads() >= 1; }));
    link->endWorker();
    EXPECT_FALSE(link->isConnected());
    EXPECT_FALSE(link->hasWorker());
    EXPECT_FALSE(DeviceTables::instance().isConnected(Transport::Lan, 0));
    // The LAN slot is closed: nothing answers on it any more.
    EXPECT_NE(KwCheckComOK(ZELVO_HANDLE(ZELVO_LINK_LAN, 0)), 0);
}

}  // namespace
}  // namespace oscilane::testing

namespace oscilane::testing {
namespace {

// Two LAN windows, each on an instrument of its own: a second simulator on
// another loopback address.
class LanSlotsTest : public DeviceLinkTest {
  protected:
    void SetUp() override {
        DeviceLinkTest::SetUp();
        secondServer_ = zelvo::sim::serveOnFreeLoopback(second_);
    }
    void TearDown() override {
        secondServer_.reset();
        DeviceLinkTest::TearDown();
    }
    std::unique_ptr<CDeviceLink> linkToSecond() const {
        auto link = makeLink(DeviceFunction::Scope, kUpdateSingle);
        LinkSettings s = link->settings();
        EXPECT_TRUE(
            parseDottedAddress(QString::fromStdString(secondServer_->address()), &s.lanAddress));
        link->applySettings(s);
        return link;
    }

    zelvo::sim::SimulatedInstrument second_;
    std::unique_ptr<zelvo::sim::UdpServer> secondServer_;
};

TEST_F(LanSlotsTest, EachLanWindowTakesItsOwnSlotAndGivesItBack) {
    auto first = makeLink(DeviceFunction::Scope, kUpdateSingle);
    auto second = linkToSecond();
    ASSERT_EQ(first->Connect(), 1);
    ASSERT_EQ(second->Connect(), 1) << messages_.texts().join(" | ").toStdString();
    EXPECT_EQ(first->settings().deviceIndex, 0u);
    EXPECT_EQ(second->settings().deviceIndex, 1u);
    // Both instruments answer their own window.
    EXPECT_TRUE(eventually([&] { return uploadsOf(*first).takeNewData(); }));
    EXPECT_TRUE(eventually([&] { return uploadsOf(*second).takeNewData(); }));
    EXPECT_EQ(first->CheckLink(), 1);
    EXPECT_EQ(second->CheckLink(), 1);
    EXPECT_EQ(DeviceTables::instance().connectedLanEntries().size(), 2u);

    // Disconnect frees the first slot; closing a connected window frees the second.
    EXPECT_EQ(first->Disconnect(), 1);
    EXPECT_FALSE(DeviceTables::instance().isConnected(Transport::Lan, 0));
    second.reset();
    EXPECT_TRUE(DeviceTables::instance().connectedLanEntries().empty());
    EXPECT_TRUE(messages_.texts().isEmpty());
}

TEST_F(LanSlotsTest, TheSameInstrumentTwiceIsRefused) {
    auto first = makeLink(DeviceFunction::Scope, kUpdateSingle);
    auto again = makeLink(DeviceFunction::Scope, kUpdateSingle);
    ASSERT_EQ(first->Connect(), 1);
    EXPECT_EQ(again->Connect(), 0);
    EXPECT_EQ(messages_.texts(), QStringList{QString::fromLatin1(msg::kDeviceAlreadyConnected)});
    EXPECT_EQ(DeviceTables::instance().connectedLanEntries().size(), 1u);
}

TEST_F(LanSlotsTest, ASeventeenthLanWindowFindsNoSlot) {
    // Sixteen windows hold instruments on other loopback addresses.
    for (uint32_t k = 0; k < kDeviceTableSize; ++k)
        ASSERT_TRUE(DeviceTables::instance().claimLanSlot(0x7F0A0000u + k).slot);
    auto seventeenth = makeLink(DeviceFunction::Scope, kUpdateSingle);
    EXPECT_EQ(seventeenth->Connect(), 0);
    EXPECT_EQ(messages_.texts(), QStringList{QString::fromLatin1(msg::kCannotConnect)});
    EXPECT_FALSE(seventeenth->isConnected());
    EXPECT_EQ(uploads(), 0u);  // nothing was sent to its instrument
}

}  // namespace
}  // namespace oscilane::testing
