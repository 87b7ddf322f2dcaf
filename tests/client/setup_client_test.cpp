// zelvo setup save / load against simulated instruments on a loopback
// address, a pseudo-terminal and a simulated USB bus: a setup saved, the
// instrument changed, the setup recalled with one set command per setting
// that differs, and the instrument's setup then the saved one; refused files
// send nothing.
#include <gtest/gtest.h>

#include "file_text.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "client_runner.h"
#include "loopback.h"
#include "serial_server.h"
#include "setup_scenario.h"
#include "usb_bus_server.h"

namespace zelvo::testing {
namespace {

using Args = std::vector<std::string>;
using Environment = std::map<std::string, std::string>;
using testsupport::readBytes;

using namespace setup;

// Saves, changes, recalls and saves again through `target`.
void expectRoundTrip(sim::SimulatedInstrument& instrument, const Args& target,
                     const Environment& environment) {
    ScratchFolder folder;
    const std::string saved = folder.path() + "/bench.setup";
    const std::string again = folder.path() + "/again.setup";
    const auto client = [&](const std::string& action, const std::string& file) {
        Args args = target;
        args.insert(args.end(), {"setup", action, file});
        return runClient(args, environment);
    };

    apply(instrument, kSavedState);
    const ClientRun save = client("save", saved);
    ASSERT_EQ(save.status, 0) << save.err;
    const std::string savedText = readBytes(saved);
    ASSERT_EQ(savedText.rfind("Oscilane setup 1\r\n", 0), 0u) << savedText;
    EXPECT_NE(savedText.find("\r\ntrigger.mode = 2\r\n"), std::string::npos) << savedText;

    apply(instrument, kChanges);
    ASSERT_EQ(client("save", again).status, 0);
    ASSERT_NE(readBytes(again), savedText) << "the changes changed nothing";

    const std::size_t before = settingCommands(instrument);
    const ClientRun load = client("load", saved);
    EXPECT_EQ(load.status, 0) << load.out << load.err;
    EXPECT_EQ(settingCommands(instrument) - before, kDifferingSettings);
    EXPECT_NE(load.out.find("10 setting commands, 0 settings did not take"), std::string::npos)
        << load.out;

    ASSERT_EQ(client("save", again).status, 0);
    EXPECT_EQ(readBytes(again), savedText);
    EXPECT_TRUE(holdsSavedState(instrument));

    // Recalling what the instrument already holds sends nothing.
    const std::size_t settled = settingCommands(instrument);
    EXPECT_EQ(client("load", saved).status, 0);
    EXPECT_EQ(settingCommands(instrument), settled);
}

TEST(SetupClient, RoundTripOverTheLan) {
    sim::SimulatedInstrument instrument;
    const auto server = sim::serveOnFreeLoopback(instrument);
    expectRoundTrip(instrument, {"--lan", server->address()}, {});
}

TEST(SetupClient, RoundTripOverASerialLine) {
    sim::SimulatedInstrument instrument;
    sim::SerialServer line(instrument);
    line.start();
    expectRoundTrip(instrument, {"--serial", "3"}, {{"ZELVO_COM3", line.path()}});
}

TEST(SetupClient, RoundTripOverTheUsbBus) {
    ScratchFolder folder;
    sim::SimulatedInstrument instrument;
    sim::UsbBusServer bus(folder.path() + "/bus.sock");
    bus.attach(instrument);
    bus.start();
    expectRoundTrip(instrument, {"--usb", "0"}, {{"ZELVO_USB_SIM", bus.socketPath()}});
}

class SetupClientFiles : public ::testing::Test {
  protected:
    void SetUp() override { server_ = sim::serveOnFreeLoopback(instrument_); }
    ClientRun client(const std::string& action, const std::string& file) {
        return runClient({"--lan", server_->address(), "setup", action, file});
    }
    std::string file(const std::string& name) const { return folder_.path() + "/" + name; }
    std::size_t requests() {
        return instrument_.inspect(
            [](sim::Instrument&, sim::Responder& r) { return r.requests().size(); });
    }

    sim::SimulatedInstrument instrument_;
    std::unique_ptr<sim::UdpServer> server_;
    ScratchFolder folder_;
};

TEST_F(SetupClientFiles, ARefusedFileExitsWithTwoBeforeAnythingIsSent) {
    ASSERT_EQ(client("save", file("good.setup")).status, 0);
    const std::string good = readBytes(file("good.setup"));
    const auto edited = [&good](const std::string& from, const std::string& to) {
        std::string t = good;
        t.replace(t.find(from), from.size(), to);
        return t;
    };
    struct Case {
        std::string text;
        const char* says;
    };
    const Case cases[] = {
        {edited("CH2.probe = 0", "CH2.probe = 9"), "line 16: CH2.probe: 9 is outside 0..3"},
        {edited("format = 0", "fromat = 0"), "unknown setting \"fromat\""},
        {edited("timeBase = 19", "timeBase"), "not a \"name = value\" line"},
        {std::string("\x7f"
                     "ELF\0\0\1",
                     7),
         "line 1: not a setup file"},
    };
    for (const Case& c : cases) {
        {
            std::ofstream out(file("bad.setup"), std::ios::binary);
            out << c.text;
        }
        const std::size_t before = requests();
        const ClientRun run = client("load", file("bad.setup"));
        EXPECT_EQ(run.status, 2) << c.says;
        EXPECT_TRUE(run.out.empty()) << run.out;
        EXPECT_EQ(run.err.rfind("zelvo: ", 0), 0u) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(requests(), before) << c.says;
    }
    EXPECT_EQ(client("load", file("missing.setup")).status, 2);
}

TEST_F(SetupClientFiles, FailuresOfTheInstrumentExitWithOne) {
    ASSERT_EQ(client("save", file("good.setup")).status, 0);
    instrument_.setFaults({.emptyBlockReplies = true});
    const ClientRun load = client("load", file("good.setup"));
    EXPECT_EQ(load.status, 1);
    EXPECT_NE(load.err.find("setting block"), std::string::npos) << load.err;
    const ClientRun save = client("save", file("other.setup"));
    EXPECT_EQ(save.status, 1);
    EXPECT_FALSE(std::filesystem::exists(file("other.setup")));
    instrument_.setFaults({});
    EXPECT_EQ(client("save", file("missing/other.setup")).status, 1);
}

}  // namespace
}  // namespace zelvo::testing
