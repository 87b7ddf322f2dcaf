// A session recorded with ZELVO_RECORD and served back by the simulator's
// replay: the client, run again against the replay, prints the same and
// saves the same screen bitmap, whatever link recorded; time-outs and
// malformed replies come back as such.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <variant>
#include <vector>

#include "client_runner.h"
#include "loopback.h"
#include "protocol/session_format.h"
#include "serial_server.h"
#include "session_replay.h"
#include "usb_bus_server.h"

namespace zelvo::testing {
namespace {

using Args = std::vector<std::string>;
using Environment = std::map<std::string, std::string>;

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

session::Recording readRecording(const std::string& path) {
    auto parsed = session::parseRecording(fileBytes(path));
    if (const auto* e = std::get_if<session::ParseError>(&parsed)) {
        ADD_FAILURE() << path << " line " << e->line << ": " << e->reason;
        return {};
    }
    return std::get<session::Recording>(parsed);
}

class Replay : public ::testing::Test {
  protected:
    std::string path(const std::string& name) const { return folder_.path() + "/" + name; }

    // Records the client run with args (which saves its screen to screen.bmp,
    // when it does) against environment's instrument into session.zrec.
    ClientRun record(const Args& args, Environment environment = {}) {
        environment["ZELVO_RECORD"] = path("session.zrec");
        return runClient(args, environment);
    }

    // The client run with args against the recording replayed over UDP on
    // address; replayed keeps what the replay counted.
    ClientRun replay(const Args& args, const std::string& address) {
        sim::SessionReplay source(readRecording(path("session.zrec")).exchanges, {});
        sim::UdpServer server(source, address, kLanPort);
        server.start();
        const ClientRun run = runClient(args);
        server.stop();
        replayed = source.counts();
        return run;
    }

    ScratchFolder folder_;
    sim::ReplayCounts replayed;
};

void expectSameRun(const ClientRun& recorded, const ClientRun& replayed) {
    EXPECT_EQ(replayed.status, recorded.status);
    EXPECT_EQ(replayed.out, recorded.out);
    EXPECT_EQ(replayed.err, recorded.err);
}

TEST_F(Replay, TheClientPrintsAndSavesTheSameAgainstTheReplay) {
    std::string address;
    ClientRun recorded;
    {
        sim::SimulatedInstrument instrument;
        auto server = sim::serveOnFreeLoopback(instrument);
        address = server->address();
        recorded = record({"--lan", address, "all", "--screen", path("screen.bmp")});
    }
    ASSERT_EQ(recorded.status, 0) << recorded.err;
    const std::string screen = fileBytes(path("screen.bmp"));
    ASSERT_FALSE(screen.empty());
    std::filesystem::remove(path("screen.bmp"));

    const std::size_t exchanges = readRecording(path("session.zrec")).exchanges.size();
    const ClientRun again =
        replay({"--lan", address, "all", "--screen", path("screen.bmp")}, address);
    expectSameRun(recorded, again);
    EXPECT_EQ(fileBytes(path("screen.bmp")), screen);
    EXPECT_EQ(replayed, (sim::ReplayCounts{exchanges, 0, 0}));
}

TEST_F(Replay, TimeOutsAndMalformedRepliesReplayAsSuch) {
    struct Case {
        const char* name;
        sim::Faults faults;
        session::Outcome recordedOutcome;
    };
    const Case cases[] = {
        {"silent", {.silent = true}, session::Outcome::TimedOut},
        {"truncated", {.truncatedReplies = true}, session::Outcome::Malformed},
        {"empty block replies", {.emptyBlockReplies = true}, session::Outcome::Malformed},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(path("session.zrec"));
        std::string address;
        ClientRun recorded;
        {
            sim::SimulatedInstrument instrument;
            instrument.setFaults(c.faults);
            auto server = sim::serveOnFreeLoopback(instrument);
            address = server->address();
            recorded = record({"--lan", address, "info"});
        }
        EXPECT_EQ(recorded.status, 1) << c.name;
        const session::Recording rec = readRecording(path("session.zrec"));
        ASSERT_FALSE(rec.exchanges.empty()) << c.name;
        EXPECT_EQ(rec.exchanges.back().outcome, c.recordedOutcome) << c.name;

        const ClientRun again = replay({"--lan", address, "info"}, address);
        expectSameRun(recorded, again);
        EXPECT_EQ(replayed, (sim::ReplayCounts{rec.exchanges.size(), 0, 0})) << c.name;
    }
}

TEST_F(Replay, RecordingsOverSerialAndUsbReplayOverUdp) {
    std::string address;  // a loopback address no other test uses, for the replay
    {
        sim::SimulatedInstrument placeholder;
        address = sim::serveOnFreeLoopback(placeholder)->address();
    }
    const Args replayArgs = {"--lan", address, "info"};
    for (const char* link : {"serial", "usb"}) {
        std::filesystem::remove(path("session.zrec"));
        sim::SimulatedInstrument instrument;
        ClientRun recorded;
        if (std::string(link) == "serial") {
            sim::SerialServer line(instrument);
            line.start();
            recorded = record({"--serial", "1", "info"}, {{"ZELVO_COM1", line.path()}});
        } else {
            sim::UsbBusServer bus(path("bus.sock"));
            bus.attach(instrument);
            bus.start();
            recorded = record({"--usb", "0", "info"}, {{"ZELVO_USB_SIM", bus.socketPath()}});
        }
        ASSERT_EQ(recorded.status, 0) << link << recorded.err;
        const ClientRun again = replay(replayArgs, address);
        EXPECT_EQ(again.status, 0) << link << again.err;
        EXPECT_EQ(again.out, recorded.out) << link;
        EXPECT_EQ(replayed.unanswered, 0u) << link;
    }
}

TEST_F(Replay, ReplayInfoSummarisesARecordingAndRefusesABrokenOne) {
    {
        sim::SimulatedInstrument instrument;
        auto server = sim::serveOnFreeLoopback(instrument);
        ASSERT_EQ(record({"--lan", server->address(), "info"}).status, 0);
        ASSERT_EQ(record({"--lan", server->address(), "info"}).status, 0);
    }
    const std::string file = path("session.zrec");
    const ClientRun info = runClient({"replay-info", file});
    EXPECT_EQ(info.status, 0) << info.err;
    const std::size_t exchanges = readRecording(file).exchanges.size();
    for (const std::string& expected :
         {"recording " + file + "\n", std::string("session: format zelvo-session version 1"),
          "exchanges: " + std::to_string(exchanges) + "\n", std::string("time span: "),
          std::string("  lan set ok: 2\n"), std::string("  lan read ok: 2\n"),
          std::string("  set code 1 value 1: 2\n")})
        EXPECT_NE(info.out.find(expected), std::string::npos) << expected << "\n" << info.out;
    EXPECT_NE(info.out.find("session:", info.out.find("session:") + 1), std::string::npos)
        << "two sessions, two headers";

    // A crash cut the last line: what is whole is summarised, and said so.
    std::string text = fileBytes(file);
    std::ofstream(path("cut.zrec"), std::ios::binary) << text.substr(0, text.size() - 10);
    const ClientRun cut = runClient({"replay-info", path("cut.zrec")});
    EXPECT_EQ(cut.status, 0);
    EXPECT_NE(cut.out.find("exchanges: " + std::to_string(exchanges - 1) + "\n"), std::string::npos)
        << cut.out;
    EXPECT_NE(cut.out.find("cut short"), std::string::npos) << cut.out;

    // A broken line elsewhere refuses the file with its number.
    const std::size_t second = text.find('\n') + 1;
    text.insert(second, "not a line\r\n");
    std::ofstream(path("broken.zrec"), std::ios::binary) << text;
    const ClientRun broken = runClient({"replay-info", path("broken.zrec")});
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(broken.out, "");
    EXPECT_EQ(broken.err, "zelvo: " + path("broken.zrec") + " line 2: not a JSON object\n");
}

}  // namespace
}  // namespace zelvo::testing
