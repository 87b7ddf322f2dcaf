// Recording of a session with ZELVO_RECORD: every exchange lands in the file
// with the replies as the caller received them, under the instrument's
// faults too; a file that cannot be opened is reported once and the library
// works on; the caller's results never change.  ZELVO_RECORD is read when
// the library loads, so each case loads it afresh in a child process while
// this one serves the simulated instrument.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "file_text.h"
#include "loopback.h"
#include "protocol/byte_order.h"
#include "protocol/half_word_swap.h"
#include "protocol/session_format.h"
#include "zelvo/ZelvoDLL.h"

namespace zelvo::testing {
namespace {

constexpr DeviceHandle kHandle = ZELVO_HANDLE(ZELVO_LINK_LAN, 3);

// The exports the cases call, taken from the library the child loaded.
struct Library {
    decltype(&KwLanInit) lanInit;
    decltype(&KwLanClose) lanClose;
    decltype(&KwGetFunction) getFunction;
    decltype(&KwChangeFunction) changeFunction;
    decltype(&DSOUploadSetting) uploadSetting;
};

template <class F>
F symbol(void* library, const char* name) {
    return reinterpret_cast<F>(dlsym(library, name));
}

std::string asText(const uint8_t* bytes, std::size_t n) {
    return std::string(reinterpret_cast<const char*>(bytes), n);
}

// What the child hands back: its exit status, its standard error, and the
// values its calls returned.
struct ChildRun {
    int status = -1;
    std::string err;
    std::string results;
};

class Recording : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("zelvo-recording-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        server_ = sim::serveOnFreeLoopback(instrument_);
    }
    void TearDown() override {
        server_.reset();
        std::filesystem::remove_all(folder_);
    }
    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    // Runs calls(library, results) in a child that loads the library with
    // ZELVO_RECORD=recordTo and opens its LAN slot; the child exits with 0
    // when calls returns true.  Once the slot is open, and before calls
    // runs, this process runs connected (to switch the instrument's faults).
    ChildRun runRecorded(
        const std::string& recordTo, const std::function<bool(const Library&, std::string&)>& calls,
        const std::function<void()>& connected = [] {}) {
        const std::string errPath = path("stderr.txt");
        const std::string resultsPath = path("results.bin");
        int toParent[2], toChild[2];
        if (::pipe(toParent) != 0 || ::pipe(toChild) != 0) return {};
        // A child forked while the server's thread holds a lock (the
        // sanitizers' allocator has no fork handlers) would wait on it for
        // ever; with the server stopped this process forks with one thread.
        // The child's first datagram waits in the socket until it restarts.
        server_->stop();
        const pid_t child = ::fork();
        if (child == 0) {
            const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(err, STDERR_FILENO);
            ::setenv("ZELVO_RECORD", recordTo.c_str(), 1);
            void* dll = ::dlopen(ZELVO_DLL_PATH, RTLD_NOW | RTLD_LOCAL);
            if (!dll) std::_Exit(3);
            const Library lib{symbol<decltype(&KwLanInit)>(dll, "KwLanInit"),
                              symbol<decltype(&KwLanClose)>(dll, "KwLanClose"),
                              symbol<decltype(&KwGetFunction)>(dll, "KwGetFunction"),
                              symbol<decltype(&KwChangeFunction)>(dll, "KwChangeFunction"),
                              symbol<decltype(&DSOUploadSetting)>(dll, "DSOUploadSetting")};
            std::string results;
            const bool open = lib.lanInit(kHandle, server_->address().c_str()) == 0;
            char go = 0;
            if (::write(toParent[1], &go, 1) != 1 || ::read(toChild[0], &go, 1) != 1) std::_Exit(4);
            const bool ok = open && calls(lib, results);
            lib.lanClose(kHandle);
            FILE* out = std::fopen(resultsPath.c_str(), "wb");
            std::fwrite(results.data(), 1, results.size(), out);
            std::fclose(out);
            // exit, not _exit: the library's recorder writes what is left as it unloads.
            std::exit(ok ? 0 : 1);
        }
        server_->start();
        // With the child's ends closed here, a child that dies early ends the read.
        ::close(toParent[1]);
        ::close(toChild[0]);
        char go = 0;
        if (child > 0 && ::read(toParent[0], &go, 1) == 1) connected();
        (void)!::write(toChild[1], &go, 1);
        ::close(toParent[0]);
        ::close(toChild[1]);
        ChildRun run;
        int status = 0;
        if (child > 0 && exited(child, status) && WIFEXITED(status))
            run.status = WEXITSTATUS(status);
        run.err = testsupport::readBytes(errPath);
        run.results = testsupport::readBytes(resultsPath);
        return run;
    }

    // Waits for the child to end; one that hangs is killed and reported, so
    // the case fails with what the child wrote instead of timing out.
    static bool exited(pid_t child, int& status) {
        constexpr auto kChildBudget = std::chrono::seconds(30);
        const auto until = std::chrono::steady_clock::now() + kChildBudget;
        while (std::chrono::steady_clock::now() < until) {
            if (::waitpid(child, &status, WNOHANG) == child) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        ADD_FAILURE() << "the child did not end within " << kChildBudget.count() << " s";
        return false;
    }

    session::Recording readRecording(const std::string& file) {
        const auto parsed = session::parseRecording(testsupport::readBytes(file));
        if (const auto* error = std::get_if<session::ParseError>(&parsed))
            ADD_FAILURE() << "line " << error->line << ": " << error->reason;
        return std::holds_alternative<session::Recording>(parsed)
                   ? std::get<session::Recording>(parsed)
                   : session::Recording{};
    }

    std::string instrumentSettingBlock() {
        const auto block = instrument_.inspect([](sim::Instrument& i, sim::Responder&) {
            return *i.readBlock(code(Block::Setting), ZELVO_SETTING_BLOCK_SIZE);
        });
        return std::string(block.begin(), block.end());
    }

    sim::SimulatedInstrument instrument_;
    std::unique_ptr<sim::UdpServer> server_;
    std::filesystem::path folder_;
};

TEST_F(Recording, HoldsEveryExchangeWithTheRepliesTheCallerReceived) {
    const std::string file = path("session.zrec");
    const ChildRun run = runRecorded(file, [](const Library& lib, std::string& results) {
        std::vector<uint8_t> block(ZELVO_SETTING_BLOCK_SIZE);
        const bool ok =
            lib.changeFunction(kHandle, 1) == 0 && lib.uploadSetting(kHandle, block.data()) == 0;
        const int function = lib.getFunction(kHandle);
        results = asText(block.data(), block.size()) + std::to_string(function);
        return ok && function >= 0;
    });
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::string block = run.results.substr(0, ZELVO_SETTING_BLOCK_SIZE);
    ASSERT_EQ(block.size(), ZELVO_SETTING_BLOCK_SIZE);
    // The block holds the instrument's own state, as it does unrecorded.
    EXPECT_EQ(block.substr(0, 8), instrumentSettingBlock().substr(0, 8));

    const session::Recording rec = readRecording(file);
    ASSERT_EQ(rec.sessions.size(), 1u);
    EXPECT_FALSE(rec.lastLineCut);
    // The link check of KwLanInit, the set, the upload's read, the get.
    ASSERT_EQ(rec.exchanges.size(), 4u);
    using session::ExchangeKind;
    const ExchangeKind kinds[] = {ExchangeKind::Set, ExchangeKind::Set, ExchangeKind::Read,
                                  ExchangeKind::Get};
    for (std::size_t i = 0; i < rec.exchanges.size(); ++i) {
        const session::Exchange& e = rec.exchanges[i];
        EXPECT_EQ(e.kind(), kinds[i]) << i;
        EXPECT_EQ(e.link, session::LinkKind::Lan);
        EXPECT_EQ(e.index, 3u);
        EXPECT_EQ(e.outcome, session::Outcome::Ok) << i;
    }
    const session::Exchange& read = rec.exchanges[2];
    EXPECT_EQ(read.request[1], ZELVO_SETTING_BLOCK_SIZE);
    EXPECT_EQ(read.request[2], code(Block::Setting));
    // A first answer, then the block in datagrams of at most 512 bytes.
    ASSERT_EQ(read.packetSizes.size(), 1 + (ZELVO_SETTING_BLOCK_SIZE + 511) / 512);
    const std::size_t first = read.packetSizes.front();
    // The recording holds the bytes as they arrived; the caller gets them with
    // the instrument's half-swapped fields put right.
    std::vector<uint8_t> arrived(read.reply.begin() + static_cast<std::ptrdiff_t>(first),
                                 read.reply.end());
    ASSERT_EQ(arrived.size(), layout::kBlockSize);
    swapHalfSwappedFields(std::span<uint8_t, layout::kBlockSize>(arrived));
    EXPECT_TRUE(asText(arrived.data(), arrived.size()) == block)
        << "the recorded block differs from the one the caller received";
    const session::Exchange& get = rec.exchanges[3];
    EXPECT_EQ(std::to_string(loadLe32(get.reply, 0)), run.results.substr(block.size()));
}

TEST_F(Recording, LosesNoExchangeTheInstrumentsFaultsSpoil) {
    struct Case {
        const char* name;
        sim::Faults faults;
        session::Outcome set, read;
    };
    using session::Outcome;
    const Case cases[] = {
        {"silent", {.silent = true}, Outcome::TimedOut, Outcome::TimedOut},
        {"truncated", {.truncatedReplies = true}, Outcome::Malformed, Outcome::Ok},
        {"refused", {.refuseAcknowledgements = true}, Outcome::Refused, Outcome::Ok},
        {"emptyBlock", {.emptyBlockReplies = true}, Outcome::Ok, Outcome::Malformed},
        {"oversize", {.oversizeReplies = true}, Outcome::Ok, Outcome::Malformed},
    };
    constexpr int kRounds = 3;
    for (const Case& c : cases) {
        const std::string file = path(std::string(c.name) + ".zrec");
        const ChildRun run = runRecorded(
            file,
            [](const Library& lib, std::string&) {
                std::vector<uint8_t> block(ZELVO_SETTING_BLOCK_SIZE);
                for (int r = 0; r < kRounds; ++r) {
                    lib.changeFunction(kHandle, 1);
                    lib.uploadSetting(kHandle, block.data());
                }
                return true;
            },
            [this, &c] { instrument_.setFaults(c.faults); });
        instrument_.setFaults({});
        ASSERT_EQ(run.status, 0) << c.name << run.err;
        const session::Recording rec = readRecording(file);
        // The link check, then every set and read of every round.
        ASSERT_EQ(rec.exchanges.size(), 1u + 2 * kRounds) << c.name;
        for (int r = 0; r < kRounds; ++r) {
            EXPECT_EQ(rec.exchanges[1 + 2 * r].outcome, c.set) << c.name;
            EXPECT_EQ(rec.exchanges[2 + 2 * r].outcome, c.read) << c.name;
        }
    }
}

TEST_F(Recording, AFileThatCannotBeOpenedIsReportedOnceAndTheLibraryWorksOn) {
    const std::string file = path("missing-folder/session.zrec");
    const ChildRun run = runRecorded(file, [](const Library& lib, std::string&) {
        std::vector<uint8_t> block(ZELVO_SETTING_BLOCK_SIZE);
        bool ok = true;
        for (int r = 0; r < 3; ++r)
            ok = ok && lib.uploadSetting(kHandle, block.data()) == 0 &&
                 lib.getFunction(kHandle) >= 0;
        return ok;
    });
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "ZelvoDLL: cannot record to " + file +
                           ": No such file or directory; working unrecorded\n");
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(Recording, ASecondSessionIsAppendedWithItsOwnHeader) {
    const std::string file = path("twice.zrec");
    for (int session = 0; session < 2; ++session) {
        const ChildRun run = runRecorded(file, [](const Library&, std::string&) { return true; });
        ASSERT_EQ(run.status, 0) << run.err;
    }
    const session::Recording rec = readRecording(file);
    EXPECT_EQ(rec.sessions.size(), 2u);
    EXPECT_EQ(rec.exchanges.size(), 2u);  // one link check each
    for (const std::string& line : testsupport::crlfLines(testsupport::readBytes(file)))
        EXPECT_EQ(line.front(), '{');
}

}  // namespace
}  // namespace zelvo::testing
