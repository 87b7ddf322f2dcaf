// The history of acquisitions in a scope window: the keys and the bar step
// back through past blocks while new ones keep arriving, the displayed block
// (and so the panel, the status line, Save and Print) follows the choice,
// and "Save History..." writes the kept blocks or the chosen one.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include "block_builder.h"
#include "fake_link.h"
#include "file_text.h"
#include "model/scope_settings.h"
#include "model/waveform_file.h"
#include "scope/scope_command_ids.h"
#include "scope/scope_history.h"
#include "scope/scope_history_save.h"
#include "scope/scope_menu.h"
#include "scope/scope_panel.h"
#include "scope/scope_screen.h"
#include "scope/scope_view.h"
#include "shell/document.h"
#include "shell/document_template.h"
#include "shell/message_service.h"

using namespace oscilane;
using scopetest::BlockBuilder;
using scopetest::FakeLink;
using scopetest::kOneMsPerDivision;
namespace L = zelvo::layout;

namespace {

// Acquisition n has n as its first CH1 code; odd ones run at 1 ms/div.
SettingBlock acquisition(int n) {
    BlockBuilder b;
    b.shownChannel(kCh1, 10, 100000, 99).u16(L::kTimeBase, n % 2 ? kOneMsPerDivision : 18);
    return b.sample(kCh1, 0, n).block;
}
int numberOf(const SettingBlock& block) { return ScopeSettings(block).sample(kCh1, 0); }

struct View {
    DocumentTemplate type;
    Document document{type};
    FakeLink link;
    ScopeView view{document, link.link()};
    int uploads = 0;

    View() {
        view.resize(800, 600);
        view.show();
    }
    // The worker's upload and the timer's tick.
    void acquire(int count = 1) {
        for (int k = 0; k < count; ++k) {
            link.data.uploadedBlock = acquisition(uploads++);
            link.fresh = true;
            view.tick();
        }
    }
    int shown() const { return numberOf(link.data.displayedBlock); }
    void key(Qt::Key k) { QTest::keyClick(&view.screen(), k); }
    ScopeHistory& history() { return view.history(); }
};

TEST(ScopeHistory, KeysStepBackWhileTheWindowKeepsAcquiring) {
    View v;
    v.acquire(5);  // blocks 0..4, 4 on the screen
    EXPECT_TRUE(v.history().isHidden()) << "hidden until first used";
    EXPECT_EQ(v.shown(), 4);

    struct Step {
        Qt::Key key;
        int acquiredBefore;  // new blocks that arrive first
        int shown;           // the block on the screen after the key
        std::optional<int> position;
    };
    const Step steps[] = {
        {Qt::Key_PageUp, 0, 4, 4},               // holds the block on the screen
        {Qt::Key_PageUp, 3, 3, 3},               // 5, 6, 7 arrive but 4 stays until the step
        {Qt::Key_PageDown, 0, 4, 4},             // one newer
        {Qt::Key_Home, 1, 0, 0},                 // the oldest kept
        {Qt::Key_PageUp, 0, 0, 0},               // nothing older
        {Qt::Key_End, 0, 8, std::nullopt},       // live: the newest
        {Qt::Key_PageDown, 1, 9, std::nullopt},  // newer than live is live
    };
    for (const Step& s : steps) {
        const int before = v.shown();
        v.acquire(s.acquiredBefore);
        if (!v.history().live()) {
            EXPECT_EQ(v.shown(), before) << "new blocks do not replace the chosen one";
        }
        v.key(s.key);
        EXPECT_EQ(v.shown(), s.shown) << s.key;
        EXPECT_EQ(v.history().position(), s.position) << s.key;
    }
    EXPECT_FALSE(v.history().isHidden());
    EXPECT_EQ(v.history().blocks().size(), 10);
}

TEST(ScopeHistory, PanelAndStatusMarkShowTheChosenBlock) {
    View v;
    v.acquire(4);  // block 3 at 1 ms/div on the screen
    auto* timeList = v.view.panel()->findChild<QComboBox*>(QStringLiteral("timeList"));
    ASSERT_TRUE(timeList);
    EXPECT_EQ(timeList->currentText(), QStringLiteral("1.000ms"));
    EXPECT_EQ(v.history().mark(), "");

    v.key(Qt::Key_PageUp);
    v.key(Qt::Key_PageUp);  // block 2, the other time base
    EXPECT_EQ(v.shown(), 2);
    EXPECT_NE(timeList->currentText(), QStringLiteral("1.000ms"));
    const std::string mark = v.history().mark();
    EXPECT_EQ(mark.rfind("History 3/256 ", 0), 0u) << mark;
    EXPECT_EQ(mark.size(), std::string("History 3/256 hh:mm:ss.cc").size()) << mark;

    v.history().liveButton()->click();
    EXPECT_TRUE(v.history().live());
    EXPECT_EQ(v.shown(), 3);
    EXPECT_EQ(timeList->currentText(), QStringLiteral("1.000ms"));
    EXPECT_TRUE(v.history().liveButton()->isChecked());
}

TEST(ScopeHistory, TheSliderChoosesAndFollowsTheRing) {
    View v;
    v.acquire(10);
    v.key(Qt::Key_PageUp);
    QSlider* slider = v.history().slider();
    EXPECT_EQ(slider->maximum(), 9);
    EXPECT_EQ(slider->value(), 9);
    slider->setValue(2);
    EXPECT_EQ(v.shown(), 2);
    // The ring fills up and overwrites: the chosen block moves down, and
    // once it is gone the oldest kept block takes its place.
    v.acquire(AcquisitionHistory::kCapacity - 10);
    EXPECT_EQ(v.shown(), 2);
    EXPECT_EQ(v.history().position(), 2);
    v.acquire(2);
    EXPECT_EQ(v.history().position(), 0);
    v.acquire(1);
    EXPECT_EQ(v.history().position(), 0);
    EXPECT_EQ(v.shown(), 3) << "block 2 was overwritten";
    EXPECT_EQ(slider->maximum(), AcquisitionHistory::kCapacity - 1);
    EXPECT_EQ(slider->value(), 0);
}

TEST(ScopeHistory, KeysBeforeAnyAcquisitionDoNothing) {
    View v;
    v.key(Qt::Key_PageUp);
    v.key(Qt::Key_Home);
    EXPECT_TRUE(v.history().live());
    EXPECT_TRUE(v.history().isHidden());
}

TEST(ScopeHistorySave, TheMenuOffersItAfterSave) {
    for (const MenuItem& menu : scopeWindowMenu()) {
        if (menu.text != QStringLiteral("&File")) continue;
        qsizetype save = -1;
        for (qsizetype i = 0; i < menu.items.size(); ++i) {
            if (menu.items[i].command == cmd::kScopeSave) save = i;
            if (menu.items[i].command != cmd::kScopeSaveHistory) continue;
            EXPECT_GE(save, 0) << "Save History comes before Save";
            EXPECT_EQ(menu.items[i].text, QStringLiteral("Save History..."));
            return;
        }
    }
    ADD_FAILURE() << "no Save History in the File menu";
}

struct Saving : View {
    QTemporaryDir dir;
    HistorySaver saver{&view, view.history(), link.data};
    QString answered;
    QString filter;
    std::optional<int> channel = 0;
    MessageRecorder messages;

    Saving() {
        saver.askFile = [this](QWidget*, const SaveFileQuestion&) -> std::optional<ChosenFile> {
            return ChosenFile{answered, filter};
        };
        saver.askChannel = [this](QWidget*) { return channel; };
    }
    std::string save(const QString& name) {
        answered = dir.filePath(name);
        saver.run();
        return testsupport::readBytes(answered.toStdString());
    }
};

TEST(ScopeHistorySave, ACsvHoldsEveryKeptBlockADataFileTheChosenOne) {
    Saving s;
    s.acquire(6);
    s.key(Qt::Key_PageUp);
    s.key(Qt::Key_PageUp);  // block 4
    s.acquire(2);           // still block 4 on the screen

    EXPECT_EQ(s.save(QStringLiteral("all.csv")), HistoryCsvText(s.history().blocks()));
    const std::string data = s.save(QStringLiteral("chosen.txt"));
    EXPECT_EQ(data, WaveformDataText(Waveform(acquisition(4), kCh1)));
    s.channel = std::nullopt;  // the trace question cancelled: nothing written
    EXPECT_EQ(s.save(QStringLiteral("none.txt")), "");
    EXPECT_TRUE(s.messages.texts().isEmpty()) << s.messages.texts().join('\n').toStdString();

    s.save(QStringLiteral("missing/all.csv"));
    ASSERT_EQ(s.messages.texts().size(), 1);
    EXPECT_TRUE(s.messages.texts()[0].startsWith(QStringLiteral("Cann't save file: ")));
}

TEST(ScopeHistorySave, ABareNameBecomesAHistoryCsv) {
    EXPECT_EQ(HistorySaver::question().filters.first(), QStringLiteral("CSV File(*.csv)"));
    Saving s;
    s.acquire(1);
    s.answered = s.dir.filePath(QStringLiteral("bare"));
    s.filter = HistorySaver::question().filters.first();
    s.saver.run();
    EXPECT_EQ(testsupport::readBytes(s.dir.filePath(QStringLiteral("bare.csv")).toStdString()),
              HistoryCsvText(s.history().blocks()));
}

}  // namespace
