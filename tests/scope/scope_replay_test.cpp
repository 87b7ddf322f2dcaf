// A scope window's session recorded and replayed: a child process (this test
// program again, with ZELVO_RECORD set as its link library loads) shows a
// connected window for a while and notes each block it displays; zelvo-sim
// --replay then serves the recording, and a window connected to it displays
// the same blocks in the same order.
#include "live_window.h"  // first: the simulator's headers precede Qt's keyword macros

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "child_process.h"
#include "scope/scope_session.h"
#include "scope/scope_view.h"
#include "scope/scope_window.h"

using namespace oscilane;

namespace {

// Set in the recording child: where it writes what it displayed.
constexpr const char* kShownVariable = "ZELVO_TEST_SCOPE_SHOWN";
// The child records this long, or until it displayed this many blocks.
constexpr int kRecordMs = 1500;
constexpr std::size_t kRecordBlocks = 12;

class ScopeReplay : public LiveWindow<ScopeView> {
  protected:
    void SetUp() override { show(createScopeView, createScopeFrame, QSize(1100, 760)); }

    // Notes a fingerprint of each displayed block that differs from the one before.
    void noteShownBlocks() {
        QObject::connect(view_, &ScopeView::measured, view_, [this] {
            auto* session = static_cast<ScopeSession*>(deviceLinkOf(document_).session());
            const auto& block = session->data().displayedBlock;
            const std::size_t print = std::hash<std::string_view>{}(
                std::string_view(reinterpret_cast<const char*>(block.data()), block.size()));
            if (shown_.empty() || shown_.back() != print) shown_.push_back(print);
        });
    }
    bool connectTo(const std::string& address) {
        QString error;
        const auto s = settingsForConnectTarget(
            QStringLiteral("lan:") + QString::fromStdString(address), &error);
        return s && InstrumentWindow::of(*view_)->connectTo(*s);
    }

    std::vector<std::size_t> shown_;
};

std::string folderOf(const std::string& prefix) {
    char pattern[64];
    std::snprintf(pattern, sizeof pattern, "/tmp/%s-XXXXXX", prefix.c_str());
    if (::mkdtemp(pattern) == nullptr) return {};
    return pattern;
}

// The recording child's part; skipped in an ordinary run.
TEST_F(ScopeReplay, RecordingChild) {
    const char* shownFile = std::getenv(kShownVariable);
    if (shownFile == nullptr) GTEST_SKIP() << "runs as the child of ShowsTheRecordedBlocksInOrder";
    noteShownBlocks();
    ASSERT_TRUE(connect()) << messages();
    // Either limit ends the recording.
    (void)QTest::qWaitFor([&] { return shown_.size() >= kRecordBlocks; }, kRecordMs);
    std::ofstream out(shownFile);
    for (std::size_t print : shown_) out << print << '\n';
}

TEST_F(ScopeReplay, ShowsTheRecordedBlocksInOrder) {
    if (std::getenv(kShownVariable) != nullptr) GTEST_SKIP();
    const std::string folder = folderOf("zelvo-scope-replay");
    ASSERT_FALSE(folder.empty());
    const std::string recording = folder + "/scope.zrec", shownFile = folder + "/shown.txt";
    {
        zelvo::testing::ChildProcess child(
            {std::filesystem::read_symlink("/proc/self/exe").string(),
             "--gtest_filter=ScopeReplay.RecordingChild"},
            {{"ZELVO_RECORD", recording}, {kShownVariable, shownFile}});
        const zelvo::testing::ChildRun run = child.finish();
        ASSERT_EQ(run.status, 0) << run.out << run.err;
    }
    std::vector<std::size_t> recorded;
    std::ifstream in(shownFile);
    for (std::size_t print; in >> print;) recorded.push_back(print);
    ASSERT_GE(recorded.size(), 3u) << "the child displayed too few blocks";

    std::string address;  // a loopback address no other server holds
    {
        zelvo::sim::SimulatedInstrument placeholder;
        address = zelvo::sim::serveOnFreeLoopback(placeholder)->address();
    }
    zelvo::testing::ChildProcess replay({ZELVO_SIM_PATH, "--replay", recording, "--lan", address});
    ASSERT_TRUE(replay.lineStartingWith("zelvo-sim: replaying", std::chrono::seconds(10)))
        << replay.err();

    noteShownBlocks();
    ASSERT_TRUE(connectTo(address)) << messages();
    // Past the recording's end every upload gets its last block again.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shown_.empty() && shown_.back() == recorded.back(); },
                                kLivePatienceMs));
    EXPECT_EQ(shown_, recorded);
    InstrumentWindow::of(*view_)->disconnect();
    const zelvo::testing::ChildRun stopped = replay.finish(SIGINT);
    EXPECT_NE(stopped.out.find("zelvo-sim: stopped;"), std::string::npos) << stopped.out;
    std::filesystem::remove_all(folder);
}

}  // namespace
