// zelvo meter --log against a simulated instrument on a loopback address:
// the lines it appends, the limits that end it, a signal that ends it without
// losing a reading, and a log it cannot write.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "client_runner.h"
#include "loopback.h"

extern char** environ;

namespace zelvo::testing {
namespace {

using Args = std::vector<std::string>;

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t end; (end = text.find('\n', from)) != std::string::npos; from = end + 1)
        lines.push_back(text.substr(from, end + 1 - from));
    EXPECT_EQ(from, text.size()) << "the log ends inside a line";
    return lines;
}

// A DC voltage reading of the simulated meter, as the log writes it.
const std::regex kVoltLine(R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d\.\d\d V=-?\d+\.\d\d m?VDC\r\n)");

class MeterLogClientTest : public ::testing::Test {
  protected:
    void SetUp() override { server_ = sim::serveOnFreeLoopback(instrument_); }
    std::string log() const { return folder_.path() + "/m.txt"; }
    Args meter(Args more) const {
        Args args{"--lan", server_->address(), "meter", "--log", log()};
        args.insert(args.end(), more.begin(), more.end());
        return args;
    }

    sim::SimulatedInstrument instrument_;
    std::unique_ptr<sim::UdpServer> server_;
    ScratchFolder folder_;
};

TEST_F(MeterLogClientTest, CountReadingsAreAppendedAsLogLines) {
    std::ofstream(log(), std::ios::binary) << "kept\r\n";
    const ClientRun run = runClient(meter({"--count", "4", "--interval", "100"}));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("4 readings logged"), std::string::npos) << run.out;
    const std::vector<std::string> lines = linesOf(contents(log()));
    ASSERT_EQ(lines.size(), 5u) << contents(log());
    EXPECT_EQ(lines[0], "kept\r\n");
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_TRUE(std::regex_match(lines[i], kVoltLine)) << lines[i];
}

TEST_F(MeterLogClientTest, ADurationEndsTheRun) {
    const auto start = std::chrono::steady_clock::now();
    const ClientRun run = runClient(meter({"--duration", "1", "--interval", "200"}));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(run.status, 0) << run.err;
    const std::size_t lines = linesOf(contents(log())).size();
    EXPECT_GE(lines, 2u);
    EXPECT_LE(lines, 6u);
    EXPECT_LT(took, std::chrono::seconds(10));
}

TEST_F(MeterLogClientTest, ATerminationSignalWritesEveryReadingTaken) {
    // No limit: it runs until the signal, with readings still in the
    // buffer that has not reached its 2-second batch.
    std::vector<std::string> words = {ZELVO_CLIENT_PATH};
    for (const std::string& a : meter({"--interval", "100"})) words.push_back(a);
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    const std::string out = folder_.path() + "/out.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    // The first batch (ten readings at 100 ms) shows that it is sampling,
    // with its signal handlers in place; the next batch is unfinished.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (linesOf(contents(log())).size() < 10 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::this_thread::sleep_for(std::chrono::milliseconds(350));
    ASSERT_EQ(kill(pid, SIGTERM), 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const std::size_t lines = linesOf(contents(log())).size();
    EXPECT_GT(lines, 10u);
    // What it says it took is what the file holds.
    EXPECT_NE(contents(out).find(std::to_string(lines) + " readings logged"), std::string::npos)
        << contents(out) << lines;
}

TEST_F(MeterLogClientTest, AnUnwritableLogFailsAtOnce) {
    const std::string folderless = folder_.path() + "/no-such-folder/m.txt";
    const auto start = std::chrono::steady_clock::now();
    const ClientRun run =
        runClient({"--lan", server_->address(), "meter", "--log", folderless, "--duration", "60"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("zelvo: cannot write the log file"), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(folderless));
}

TEST_F(MeterLogClientTest, BadLimitsAreUsageErrors) {
    const Args cases[] = {
        meter({"--interval", "99"}),
        meter({"--count", "3", "--duration", "1"}),
        meter({"--count", "0"}),
        {"--lan", server_->address(), "meter", "--count", "3"},
        {"--lan", server_->address(), "meter", "--interval", "500"},
    };
    for (const Args& args : cases) {
        const ClientRun run = runClient(args);
        EXPECT_EQ(run.status, 2) << args.back() << run.err;
        EXPECT_EQ(run.err.rfind("zelvo: ", 0), 0u) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(log()));
}

}  // namespace
}  // namespace zelvo::testing
