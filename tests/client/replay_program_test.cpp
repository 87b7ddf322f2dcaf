// zelvo-sim --replay as a program, on a loopback address: the line that says
// where it serves, the counts it prints when SIGINT stops it, --loop and
// --realtime, and the recordings it refuses or replays in part.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "child_process.h"
#include "client_runner.h"
#include "loopback.h"
#include "protocol/frame.h"

namespace zelvo::testing {
namespace {

using Args = std::vector<std::string>;
using Clock = std::chrono::steady_clock;
constexpr auto kPatience = std::chrono::seconds(10);

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Sends requests to the replay's UDP port and times the first reply.
class UdpAsker {
  public:
    explicit UdpAsker(const std::string& address) : socket_(::socket(AF_INET, SOCK_DGRAM, 0)) {
        to_.sin_family = AF_INET;
        to_.sin_port = htons(2001);
        ::inet_pton(AF_INET, address.c_str(), &to_.sin_addr);
        const timeval patience{2, 0};
        ::setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    }
    ~UdpAsker() { ::close(socket_); }
    UdpAsker(const UdpAsker&) = delete;
    UdpAsker& operator=(const UdpAsker&) = delete;

    // The time from sending the request to its first reply; none without one.
    std::optional<Clock::duration> operator()(const RequestFrame& request) {
        const auto sent = Clock::now();
        if (::sendto(socket_, request.data(), request.size(), 0,
                     reinterpret_cast<const sockaddr*>(&to_), sizeof to_) < 0)
            return std::nullopt;
        std::array<uint8_t, 2048> reply{};
        if (::recv(socket_, reply.data(), reply.size(), 0) <= 0) return std::nullopt;
        return Clock::now() - sent;
    }

  private:
    int socket_;
    sockaddr_in to_{};
};

class ReplayProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        // Record 'zelvo info' against a simulated instrument, then free its
        // address for the replay.
        sim::SimulatedInstrument instrument;
        auto server = sim::serveOnFreeLoopback(instrument);
        address_ = server->address();
        recorded_ = runClient({"--lan", address_, "info"}, {{"ZELVO_RECORD", recording()}});
        ASSERT_EQ(recorded_.status, 0) << recorded_.err;
        const std::string text = fileBytes(recording());
        exchanges_ = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) - 1;
        ASSERT_GE(exchanges_, 2u) << text;
    }
    std::string recording() const { return folder_.path() + "/session.zrec"; }
    Args info() const { return {"--lan", address_, "info"}; }

    // zelvo-sim replaying file with the options, once it says where it serves.
    std::unique_ptr<ChildProcess> replay(const std::string& file, const Args& options = {}) {
        Args words = {ZELVO_SIM_PATH, "--replay", file, "--lan", address_};
        words.insert(words.end(), options.begin(), options.end());
        auto sim = std::make_unique<ChildProcess>(words);
        serving_ = sim->lineStartingWith("zelvo-sim: replaying", kPatience);
        return sim;
    }
    std::string servingLine(const std::string& file, std::size_t exchanges) const {
        return "zelvo-sim: replaying " + file + " (" + std::to_string(exchanges) +
               " exchanges) on udp " + address_ + ":2001\n";
    }
    static std::string countsLine(std::size_t matched, std::size_t fellBack,
                                  std::size_t unanswered) {
        return "zelvo-sim: stopped; " + std::to_string(matched) + " requests matched, " +
               std::to_string(fellBack) + " fell back, " + std::to_string(unanswered) +
               " went unanswered\n";
    }

    ScratchFolder folder_;
    std::string address_;
    ClientRun recorded_;
    std::size_t exchanges_ = 0;
    std::optional<std::string> serving_;
};

TEST_F(ReplayProgram, SaysWhereItServesAndCountsWhenStopped) {
    auto sim = replay(recording());
    ASSERT_EQ(serving_, servingLine(recording(), exchanges_)) << sim->err();

    // The recorded run matches; run again past the end, every request falls
    // back to its last recorded reply; a meter reading was never recorded and
    // goes unanswered (its link check falls back).
    const ClientRun first = runClient(info());
    EXPECT_EQ(first.out, recorded_.out);
    const ClientRun second = runClient(info());
    EXPECT_EQ(second.out, recorded_.out);
    const ClientRun meter = runClient({"--lan", address_, "meter"});
    EXPECT_EQ(meter.status, 1);
    EXPECT_EQ(meter.err, "zelvo: no meter reading\n");

    const ChildRun stopped = sim->finish(SIGINT);
    EXPECT_EQ(stopped.status, 0) << stopped.err;
    EXPECT_EQ(stopped.out, *serving_ + countsLine(exchanges_, exchanges_ + 1, 1));
    EXPECT_EQ(stopped.err, "");
}

TEST_F(ReplayProgram, LoopMatchesTheSecondPassAgain) {
    auto sim = replay(recording(), {"--loop"});
    ASSERT_TRUE(serving_) << sim->err();
    for (int pass = 0; pass < 2; ++pass) EXPECT_EQ(runClient(info()).out, recorded_.out) << pass;
    EXPECT_EQ(sim->finish(SIGINT).out, *serving_ + countsLine(2 * exchanges_, 0, 0));
}

TEST_F(ReplayProgram, RealtimeKeepsTheRecordedPauses) {
    // A pause of 300 ms before the second exchange (the device information).
    std::string text = fileBytes(recording());
    const std::size_t third = text.find('\n', text.find('\n') + 1) + 1;
    const std::regex gap(R"("gap_us":\d+)");
    std::smatch found;
    const std::string line = text.substr(third, text.find('\n', third) - third);
    ASSERT_TRUE(std::regex_search(line, found, gap)) << line;
    text.replace(third + static_cast<std::size_t>(found.position(0)),
                 static_cast<std::size_t>(found.length(0)), R"("gap_us":300000)");
    const std::string paused = folder_.path() + "/paused.zrec";
    std::ofstream(paused, std::ios::binary) << text;

    // The requests go out back to back, from a socket that waits longer than
    // the pause (the link library would give up on the reply sooner).
    for (const bool realtime : {true, false}) {
        auto sim = replay(paused, realtime ? Args{"--realtime"} : Args{});
        ASSERT_TRUE(serving_) << sim->err();
        UdpAsker ask(address_);
        ASSERT_TRUE(ask(encodeSetRequest(Command::LinkCheck, 1))) << realtime;
        const auto pause =
            ask(encodeBlockReadRequest(Block::DeviceInformation, kDeviceInfoBlockSize));
        ASSERT_TRUE(pause) << realtime;
        if (realtime) {
            EXPECT_GE(*pause, std::chrono::milliseconds(250));
        } else {
            EXPECT_LT(*pause, std::chrono::milliseconds(250));
        }
        EXPECT_EQ(sim->finish(SIGINT).out, *serving_ + countsLine(exchanges_, 0, 0)) << realtime;
    }
}

TEST_F(ReplayProgram, RefusesABrokenLineWithItsNumberAndReplaysWhatACrashLeft) {
    const std::string text = fileBytes(recording());
    const std::string broken = folder_.path() + "/broken.zrec";
    std::string withBadLine = text;
    withBadLine.insert(text.find('\n') + 1, "not a line\r\n");
    std::ofstream(broken, std::ios::binary) << withBadLine;

    auto refused = replay(broken);
    EXPECT_FALSE(serving_);
    const ChildRun run = refused->finish();
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "zelvo-sim: " + broken + " line 2: not a JSON object\n");

    // Cut inside the last line, as a crash leaves it: the whole ones replay.
    const std::string cut = folder_.path() + "/cut.zrec";
    std::ofstream(cut, std::ios::binary) << text.substr(0, text.size() - 10);
    auto sim = replay(cut);
    ASSERT_EQ(serving_, servingLine(cut, exchanges_ - 1)) << sim->err();
    EXPECT_EQ(sim->out(), "zelvo-sim: the last line of " + cut +
                              " is cut short (the recording ended in a crash); replaying the " +
                              std::to_string(exchanges_ - 1) + " whole exchanges before it\n" +
                              *serving_);
    const ChildRun stopped = sim->finish(SIGTERM);
    EXPECT_EQ(stopped.status, 0);
    EXPECT_NE(stopped.out.find("zelvo-sim: stopped;"), std::string::npos) << stopped.out;
}

}  // namespace
}  // namespace zelvo::testing
