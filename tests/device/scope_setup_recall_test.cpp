// A setup recalled through a scope window's connection: the session's
// recall over LAN, a serial line and the USB bus sends one command per
// setting that differs and leaves the instrument holding the saved setup;
// the File menu's two commands save the displayed setup and refuse a broken
// file before anything is sent.
// The simulator's headers must come before any of Qt's.
// clang-format off
#include "usb_bus_fixture.h"
#include "device_link_fixture.h"
#include "serial_server.h"
#include "setup_scenario.h"
// clang-format on

#include <QTest>
#include <QWidget>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "device/connect_target.h"
#include "device/device_tables.h"
#include "model/scope_setup_file.h"
#include "protocol/half_word_swap.h"
#include "scope/scope_command_ids.h"
#include "scope/scope_menu.h"
#include "scope/scope_setup_files.h"
#include "shell/message_texts.h"

namespace oscilane::testing {
namespace {

namespace scenario = zelvo::testing::setup;
using zelvo::sim::SimulatedInstrument;

// The setup the instrument's setting block reports now.
SetupValues instrumentSetup(SimulatedInstrument& instrument) {
    return instrument.inspect([](zelvo::sim::Instrument& i, zelvo::sim::Responder&) {
        std::vector<uint8_t> bytes =
            *i.readBlock(zelvo::code(zelvo::Block::Setting), zelvo::kSettingBlockSize);
        zelvo::swapHalfSwappedFields(std::span<uint8_t, zelvo::layout::kBlockSize>(bytes));
        SettingBlock block{};
        std::copy(bytes.begin(), bytes.end(), block.begin());
        return ReadSetup(block);
    });
}

// The outcome a recall hands over from the worker.
class RecallOutcome {
  public:
    ScopeSession::RecallDone done() {
        return [this](const SetupRecallResult& r) {
            std::lock_guard lock(mutex_);
            result_ = r;
            finished_ = true;
        };
    }
    bool finished() const { return finished_; }
    SetupRecallResult result() {
        std::lock_guard lock(mutex_);
        return result_;
    }

  private:
    std::mutex mutex_;
    SetupRecallResult result_;
    std::atomic<bool> finished_{false};
};

// Connects a scope connection to `target`, saves, changes and recalls.
void expectRecallThrough(const char* target, SimulatedInstrument& instrument) {
    QString error;
    const auto settings = settingsForConnectTarget(QString::fromLatin1(target), &error);
    ASSERT_TRUE(settings) << error.toStdString();
    CDeviceLink link;
    LinkSettings s = *settings;
    s.updateMode = kUpdateSingle;
    link.applySettings(s);
    auto& session =
        dynamic_cast<ScopeSession&>(link.adoptSession(std::make_unique<ScopeSession>()));
    link.startWorker();
    ASSERT_EQ(link.Connect(), 1) << target;

    scenario::apply(instrument, scenario::kSavedState);
    const SetupValues saved = instrumentSetup(instrument);
    scenario::apply(instrument, scenario::kChanges);
    ASSERT_NE(instrumentSetup(instrument), saved);
    // The connect's own upload first, so the count below is the recall's alone.
    ASSERT_TRUE(eventually([&] { return !session.uploads().requested(); }));

    const std::size_t before = scenario::settingCommands(instrument);
    RecallOutcome outcome;
    session.recallSetup(saved, outcome.done());
    ASSERT_TRUE(eventually([&] { return outcome.finished(); }, std::chrono::seconds(30))) << target;
    const SetupRecallResult r = outcome.result();
    EXPECT_TRUE(r.ok()) << target << " missed " << r.missed.size();
    EXPECT_EQ(r.commandsSent, static_cast<int>(scenario::kDifferingSettings));
    EXPECT_EQ(scenario::settingCommands(instrument) - before, scenario::kDifferingSettings);
    EXPECT_EQ(instrumentSetup(instrument), saved);
    EXPECT_TRUE(scenario::holdsSavedState(instrument));
    EXPECT_TRUE(session.uploads().takeNewData()) << "the recall's upload is the window's new data";
    link.Disconnect();
}

TEST_F(DeviceLinkTest, ScopeRecallOverTheLan) {
    const std::string target = "lan:" + server_->address();
    expectRecallThrough(target.c_str(), instrument_);
}

// Port 5 is a link in the build folder (ZELVO_COM5) to the simulator's pseudo-terminal.
TEST_F(DeviceLinkTest, ScopeRecallOverASerialLine) {
    const char* port = std::getenv("ZELVO_COM5");
    ASSERT_NE(port, nullptr) << "ZELVO_COM5 must name the link to make";
    zelvo::sim::SerialServer line(instrument_);
    line.start();
    std::filesystem::remove(port);
    std::filesystem::create_symlink(line.path(), port);
    expectRecallThrough("serial:5", instrument_);
    std::filesystem::remove(port);
}

class ScopeRecallUsbTest : public zelvo::testing::UsbLinkTest {
  protected:
    ScopeRecallUsbTest() { DeviceTables::instance().clear(); }
    ~ScopeRecallUsbTest() override { DeviceTables::instance().clear(); }
    MessageRecorder messages_;
};

TEST_F(ScopeRecallUsbTest, ScopeRecallOverTheUsbBus) {
    expectRecallThrough("usb:0", bus_->instrument(0));
}

class ScopeSetupFilesTest : public DeviceLinkTest {
  protected:
    void SetUp() override {
        DeviceLinkTest::SetUp();
        link_ = makeLink(DeviceFunction::Scope, kUpdateSingle);
        session_ = dynamic_cast<ScopeSession*>(link_->session());
        files_ = new ScopeSetupFiles(&view_, *session_);
        folder_ = std::filesystem::temp_directory_path() /
                  ("scope-setup-files-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override {
        std::filesystem::remove_all(folder_);
        link_->Disconnect();
        link_.reset();
        DeviceLinkTest::TearDown();
    }
    void answer(const std::filesystem::path& path) {
        const QString name = QString::fromStdString(path.string());
        files_->askSavePath = [name](QWidget*) { return std::optional<QString>(name); };
        files_->askOpenPath = files_->askSavePath;
    }

    QWidget view_;
    std::unique_ptr<CDeviceLink> link_;
    ScopeSession* session_ = nullptr;
    ScopeSetupFiles* files_ = nullptr;
    std::filesystem::path folder_;
};

TEST_F(ScopeSetupFilesTest, SaveWritesTheDisplayedSetupAndTellsWhoKeepsTheFileList) {
    SettingBlock& shown = session_->data().displayedBlock;
    shown.fill(0);
    shown[zelvo::layout::kTimeBase] = 21;
    QStringList used;
    files_->fileUsed = [&used](const QString& path) { used << path; };
    answer(folder_ / "window.setup");
    files_->save();
    EXPECT_TRUE(messages_.texts().isEmpty()) << messages_.texts().join(" | ").toStdString();
    const SetupParse back = LoadSetupFile(folder_ / "window.setup");
    ASSERT_TRUE(back.values) << back.refusal.text();
    EXPECT_EQ(*back.values, ReadSetup(shown));
    EXPECT_EQ(used.size(), 1);

    // A folder that is not there: the shell's "Cann't save file" box.
    answer(folder_ / "missing" / "window.setup");
    files_->save();
    ASSERT_EQ(messages_.texts().size(), 1);
    EXPECT_TRUE(messages_.texts()[0].startsWith(QStringLiteral("Cann't save file: ")));
    EXPECT_EQ(used.size(), 1);
}

TEST_F(ScopeSetupFilesTest, ABrokenFileIsRefusedInOneBoxAndNothingIsSent) {
    ASSERT_EQ(link_->Connect(), 1);
    ASSERT_TRUE(eventually([&] { return !session_->uploads().requested(); }));
    const std::filesystem::path broken = folder_ / "broken.setup";
    std::ofstream(broken, std::ios::binary) << "Oscilane setup 1\r\nCH1.shown = 2\r\n";
    const std::size_t before = scenario::settingCommands(instrument_);
    answer(broken);
    files_->recall();
    ASSERT_EQ(messages_.texts().size(), 1);
    EXPECT_EQ(messages_.texts()[0],
              QStringLiteral("Cann't open file: line 2: CH1.shown: 2 is outside 0..1"));
    // Give a recall, had one been asked for, the worker's cycles to run.
    QTest::qWait(400);
    EXPECT_EQ(scenario::settingCommands(instrument_), before);
}

TEST_F(ScopeSetupFilesTest, ARecallAskedForWhileDisconnectedIsNotSentOnTheNextConnect) {
    RecallOutcome outcome;
    const SetupValues present = instrumentSetup(instrument_);
    SetupValues saved = present;
    saved[0] = 1 - saved[0];  // CH1 shown the other way
    session_->recallSetup(saved, outcome.done());
    ASSERT_EQ(link_->Connect(), 1);
    ASSERT_TRUE(eventually([&] { return !session_->uploads().requested(); }));
    QTest::qWait(400);
    EXPECT_EQ(instrumentSetup(instrument_), present);
    EXPECT_FALSE(outcome.finished());
}

TEST(ScopeSetupReport, NamesEachSettingThatDidNotTakeOrSaysNothingCouldBeCompared) {
    SetupRecallResult r;
    r.uploaded = true;
    EXPECT_TRUE(ScopeSetupFiles::recallReport(r).isEmpty());
    r.missed = {{3, 1, 0}, {kSetupSettingCount - 1, 1, 0}};
    EXPECT_EQ(ScopeSetupFiles::recallReport(r),
              QStringLiteral("These settings did not take:\nCH1.probe: saved 1, the instrument "
                             "has 0\nrunning: saved 1, the instrument has 0"));
    r.uploaded = false;
    EXPECT_NE(ScopeSetupFiles::recallReport(r).indexOf(QStringLiteral("could not be read back")),
              -1);
}

TEST(ScopeSetupMenu, SaveSetupAndRecallSetupFollowSaveInTheFileMenu) {
    const MenuBarLayout menu = scopeWindowMenu();
    const QList<MenuItem>& file = menu.front().items;
    qsizetype save = -1;
    for (qsizetype i = 0; i < file.size(); ++i)
        if (file[i].command == cmd::kScopeSave) save = i;
    ASSERT_GE(save, 0);
    ASSERT_LT(save + 2, file.size());
    EXPECT_EQ(file[save + 1].command, cmd::kScopeSaveSetup);
    EXPECT_EQ(file[save + 1].text, QStringLiteral("Save Setup..."));
    EXPECT_EQ(file[save + 2].command, cmd::kScopeRecallSetup);
    EXPECT_EQ(file[save + 2].text, QStringLiteral("Recall Setup..."));
}

}  // namespace
}  // namespace oscilane::testing
