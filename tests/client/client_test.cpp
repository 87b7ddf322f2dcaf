// The zelvo client as scripts use it: exit status 0, 1 when the instrument
// fails, 2 for a usage error, each failure one line on standard error; every
// verb against a simulated instrument on a loopback address; the serial and
// USB ways of naming an instrument; the serial port list.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "client_runner.h"
#include "loopback.h"
#include "serial_server.h"
#include "usb_bus_server.h"

namespace zelvo::testing {
namespace {

using Args = std::vector<std::string>;

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

std::string joined(const Args& args) {
    std::string text;
    for (const std::string& a : args) text += a + " ";
    return text;
}

// One line on standard error, starting with the program's name.
void expectOneErrorLine(const ClientRun& run, const std::string& what) {
    EXPECT_EQ(lineCount(run.err), 1u) << what << run.err;
    EXPECT_EQ(run.err.rfind("zelvo: ", 0), 0u) << what << run.err;
}

TEST(ClientUsage, ErrorsExitWithTwoAndOneLineOnStandardError) {
    const Args cases[] = {
        {"bogus"},
        {"--bogus"},
        {"info", "meter"},
        {"--lan"},
        {"--lan", "1.2.3"},
        {"--lan", "localhost"},
        {"--usb", "16"},
        {"--usb", "x"},
        {"--serial", "256"},
        {"--baud", "1200"},
        {"--serial", "1", "--baud", "1000"},
        {"--connect", "tcp:1.2.3.4"},
        {"--connect", "usb:16"},
        {"--connect", "serial:x"},
        {"--lan", "127.0.0.1", "--usb", "0"},
        {"--usb", "0", "info", "--lan", "127.0.0.1"},
        {"settings", "--connect", "usb:0", "--serial", "1"},
    };
    for (const Args& args : cases) {
        const ClientRun run = runClient(args);
        EXPECT_EQ(run.status, 2) << joined(args);
        EXPECT_TRUE(run.out.empty()) << joined(args) << run.out;
        expectOneErrorLine(run, joined(args));
    }
}

TEST(ClientUsage, AnUnknownVerbIsAnsweredWithTheVerbs) {
    const ClientRun run = runClient({"bogus"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind("zelvo: 'bogus' is not a verb: the verbs are all, capture, ", 0), 0u)
        << run.err;
    expectOneErrorLine(run, "bogus");
}

TEST(ClientUsage, EachVerbHasItsOwnHelp) {
    for (const char* verb :
         {"", "info", "meter", "settings", "screen", "all", "ports", "usb-scan"}) {
        const Args args = *verb ? Args{verb, "--help"} : Args{"--help"};
        const ClientRun run = runClient(args);
        EXPECT_EQ(run.status, 0) << verb;
        const std::string usage = *verb ? std::string("Usage: zelvo ") + verb : "Usage: zelvo";
        EXPECT_NE(run.out.find(usage), std::string::npos) << verb << run.out;
        EXPECT_TRUE(run.err.empty()) << verb << run.err;
    }
}

// A simulated instrument on a loopback address of this process's own.
class ClientLanTest : public ::testing::Test {
  protected:
    void SetUp() override { server_ = sim::serveOnFreeLoopback(instrument_); }
    const std::string& address() const { return server_->address(); }

    sim::SimulatedInstrument instrument_;
    std::unique_ptr<sim::UdpServer> server_;
    ScratchFolder folder_;
};

constexpr const char* kInfo = "device: Zelvo, serial number ZV20260001";
constexpr const char* kMeter = "meter: ";
constexpr const char* kScope = "scope: time base ";
constexpr const char* kScreen = "screen saved to ";
// A 320 x 240 picture of 24-bit pixels behind a 54-byte header.
constexpr std::uintmax_t kScreenFileSize = 54 + 320 * 240 * 3;

TEST_F(ClientLanTest, EveryVerbPrintsWhatItAskedFor) {
    const std::string screen = folder_.path() + "/screen.bmp";
    struct Case {
        Args args;
        std::vector<const char*> shown;  // line starts, in order
    };
    const Case cases[] = {
        {{"--lan", address(), "info"}, {kInfo}},
        {{"meter", "--lan", address()}, {kMeter}},
        {{"--connect", "lan:" + address(), "settings"}, {kScope, "  CH1 ", "  CH2 "}},
        {{"screen", "--connect", "lan:" + address(), "--screen", screen}, {kScreen}},
        {{"--lan", address(), "all", "--screen", screen}, {kInfo, kMeter, kScope, kScreen}},
        // What tools/run.sh runs: no verb does them all.
        {{"--lan", address(), "--screen", screen}, {kInfo, kMeter, kScope, kScreen}},
        // A picture file given to a verb that takes none is not an error.
        {{"--lan", address(), "--screen", screen, "info"}, {kInfo}},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(screen);
        const ClientRun run = runClient(c.args);
        EXPECT_EQ(run.status, 0) << joined(c.args) << run.err;
        EXPECT_TRUE(run.err.empty()) << joined(c.args) << run.err;
        std::size_t from = 0;
        for (const char* start : c.shown) {
            const std::size_t at = run.out.find(std::string("\n") + start, from);
            const bool first = from == 0 && run.out.rfind(start, 0) == 0;
            EXPECT_TRUE(first || at != std::string::npos)
                << joined(c.args) << ": no line " << start << " in\n"
                << run.out;
            from = first ? 1 : at + 1;
        }
        const bool saved = std::find(c.shown.begin(), c.shown.end(), kScreen) != c.shown.end();
        EXPECT_EQ(std::filesystem::exists(screen), saved) << joined(c.args);
        if (saved) {
            EXPECT_EQ(std::filesystem::file_size(screen), kScreenFileSize);
        }
    }
}

TEST_F(ClientLanTest, FailedRequestsExitWithOneAndALineEach) {
    // The link check passes; every block read (information, reading, settings, screen) fails.
    instrument_.setFaults({.emptyBlockReplies = true});
    const ClientRun settings = runClient({"--lan", address(), "settings"});
    EXPECT_EQ(settings.status, 1);
    EXPECT_TRUE(settings.out.empty()) << settings.out;
    expectOneErrorLine(settings, "settings");
    EXPECT_NE(settings.err.find("setting block"), std::string::npos) << settings.err;

    const std::string screen = folder_.path() + "/screen.bmp";
    const ClientRun all = runClient({"--lan", address(), "--screen", screen});
    EXPECT_EQ(all.status, 1);
    EXPECT_EQ(lineCount(all.err), 4u) << all.err;
    EXPECT_FALSE(std::filesystem::exists(screen));
}

TEST_F(ClientLanTest, AScreenFileThatCannotBeSavedSaysWhy) {
    const std::string screen = folder_.path() + "/missing/screen.bmp";
    const ClientRun run = runClient({"screen", "--lan", address(), "--screen", screen});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "zelvo: cannot save " + screen + ": No such file or directory\n");
}

TEST_F(ClientLanTest, AnInstrumentThatDoesNotAnswerExitsWithOne) {
    instrument_.setFaults({.silent = true});
    for (const Args& args :
         {Args{"--lan", address(), "info"}, Args{"--connect", "lan:" + address()}}) {
        const ClientRun run = runClient(args);
        EXPECT_EQ(run.status, 1) << joined(args);
        EXPECT_TRUE(run.out.empty()) << run.out;
        expectOneErrorLine(run, joined(args));
        EXPECT_NE(run.err.find(address()), std::string::npos) << run.err;
    }
}

// A simulated instrument on a pseudo-terminal that the client's port 3 names.
class ClientSerialTest : public ::testing::Test {
  protected:
    ClientSerialTest() : line_(instrument_) { line_.start(); }
    std::map<std::string, std::string> port3() const { return {{"ZELVO_COM3", line_.path()}}; }

    sim::SimulatedInstrument instrument_;
    sim::SerialServer line_;
};

TEST_F(ClientSerialTest, TheInstrumentAnswersOnItsPortAtTheChosenBaudRate) {
    struct Case {
        Args args;
        unsigned baud;
    };
    const Case cases[] = {{{"--serial", "3", "info"}, 9600},
                          {{"info", "--serial", "3", "--baud", "2400"}, 2400},
                          {{"--connect", "serial:3", "--baud", "4800", "info"}, 4800}};
    for (const Case& c : cases) {
        const ClientRun run = runClient(c.args, port3());
        EXPECT_EQ(run.status, 0) << joined(c.args) << run.err;
        EXPECT_EQ(run.out.rfind(kInfo, 0), 0u) << joined(c.args) << run.out;
        EXPECT_EQ(line_.lineBaud(), c.baud) << joined(c.args);
    }
}

TEST_F(ClientSerialTest, APortWithoutAnInstrumentExitsWithOne) {
    // Port 1 names a device that does not exist; port 4 names nothing.
    for (const Args& args :
         {Args{"--serial", "1", "info"}, Args{"--connect", "serial:4", "info"}}) {
        const ClientRun run = runClient(args, port3());
        EXPECT_EQ(run.status, 1) << joined(args);
        EXPECT_TRUE(run.out.empty()) << run.out;
        expectOneErrorLine(run, joined(args));
    }
}

TEST_F(ClientSerialTest, PortsListsEachPortAndSaysWhenNoneIsThere) {
    const ClientRun withLine = runClient({"ports"}, port3());
    EXPECT_EQ(withLine.status, 0);
    EXPECT_EQ(withLine.out,
              "com1 /nonexistent/zelvo-com1 (no such device)\ncom3 " + line_.path() + "\n");

    const ClientRun without = runClient({"ports"});
    EXPECT_EQ(without.status, 0);
    EXPECT_NE(without.out.find("com1 /nonexistent/zelvo-com1 (no such device)\n"),
              std::string::npos)
        << without.out;
    EXPECT_NE(without.out.find("no serial port"), std::string::npos) << without.out;
    EXPECT_TRUE(without.err.empty()) << without.err;
}

// Two simulated instruments on a simulated USB bus.
class ClientUsbTest : public ::testing::Test {
  protected:
    ClientUsbTest() : bus_(folder_.path() + "/bus.sock") {
        bus_.attach(first_);
        bus_.attach(second_);
        bus_.start();
    }
    std::map<std::string, std::string> busEnvironment() const {
        return {{"ZELVO_USB_SIM", bus_.socketPath()}};
    }

    ScratchFolder folder_;
    sim::SimulatedInstrument first_{sim::Identity{.serialNumber = "USB-1"}};
    sim::SimulatedInstrument second_{sim::Identity{.serialNumber = "USB-2"}};
    sim::UsbBusServer bus_;
};

TEST_F(ClientUsbTest, TheInstrumentAtAnIndexAnswersWithoutAnEarlierList) {
    for (const Args& args : {Args{"--usb", "1", "info"}, Args{"--connect", "usb:1", "info"},
                             Args{"--usb", "0", "settings"}}) {
        const ClientRun run = runClient(args, busEnvironment());
        EXPECT_EQ(run.status, 0) << joined(args) << run.err;
        EXPECT_TRUE(run.err.empty()) << joined(args) << run.err;
        const bool info = args.back() == "info";
        EXPECT_EQ(run.out.rfind(info ? "device: Zelvo, serial number USB-2" : kScope, 0), 0u)
            << joined(args) << run.out;
    }
}

TEST_F(ClientUsbTest, AnIndexWithoutAnInstrumentExitsWithOne) {
    const ClientRun run = runClient({"--usb", "2", "info"}, busEnvironment());
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.empty()) << run.out;
    expectOneErrorLine(run, "--usb 2");
}

}  // namespace
}  // namespace zelvo::testing
