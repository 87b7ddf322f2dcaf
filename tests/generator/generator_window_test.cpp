// The generator window as a user drives it: the controller bar's limits and
// the commands it queues, the wave-type commands, the editor's mouse drawing,
// zoom and "Edit Point", and Save / Open CSV through stand-in file dialogs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <array>
#include <fstream>
#include <iterator>
#include <string_view>
#include <utility>
#include <vector>

#include "generator/dds_controller.h"
#include "generator/edit_point_dialog.h"
#include "generator/generator_ids.h"
#include "generator/generator_screen.h"
#include "generator/generator_view.h"
#include "model/generator_csv.h"
#include "shell/document.h"
#include "shell/document_template.h"
#include "shell/message_service.h"
#include "shell/number_edit.h"
#include "shell/window_save.h"

namespace oscilane {
namespace {

using Posted = std::vector<std::pair<int, int32_t>>;

struct RecordingSink final : CommandSink {
    Posted posted;
    void Post(QueuedCommand c) override {
        posted.emplace_back(c.kind, static_cast<int32_t>(c.argument));
    }
};

struct Window {
    MessageRecorder messages;
    DocumentTemplate type;
    Document document{type};
    GeneratorWave wave;
    RecordingSink sink;
    bool connected = false;
    GeneratorView view{document, wave, sink, [this] { return connected; }};

    Window() {
        view.resize(760, 580);
        view.tick();
        // Save asks "Data" or "Picture" first; these tests save data.
        view.saver().askChoice = [](QWidget*) { return std::optional<SaveChoice>(SaveChoice{}); };
    }
    // The Save command's file dialog answers with `path` and the CSV filter.
    void answerSaveWith(const QString& path) {
        view.saver().askFile = [path](QWidget*, const SaveFileQuestion& q) {
            return std::optional<ChosenFile>(ChosenFile{path, q.filters.front()});
        };
    }
    void answerOpenWith(const QString& path) {
        view.setOpenDialog([path](QWidget*) { return path; });
    }
    DdsController& panel() { return *view.controller(); }
    GeneratorScreen& screen() { return view.screen(); }
    void enter(GeneratorBox box, const QString& text) {
        panel().edit(box)->setText(text);
        panel().acceptBox(box);
    }
    QString shown(GeneratorBox box) { return panel().edit(box)->text(); }
    void run(int id) { view.commands().run(id); }
    void chooseType(WaveType wanted) {
        for (const gencmd::TypeCommand& c : gencmd::kTypeCommands)
            if (c.type == wanted) run(c.id);
    }
};

constexpr int kChanged = 32, kFrequency = 33, kSyncOut = 34, kPowerOn = 35;

TEST(DdsController, FrequencyIsLimitedPerTypeAndSendsFrequencyThenChanged) {
    Window w;
    w.enter(GeneratorBox::Frequency, "80000000");
    EXPECT_EQ(w.shown(GeneratorBox::Frequency), "75000000.000");
    EXPECT_EQ(w.wave.frequency, 75'000'000);
    EXPECT_EQ(w.sink.posted, (Posted{{kFrequency, 0}, {kChanged, 0}}));

    w.chooseType(WaveType::Arbitrary);  // lowers 75 MHz to the "Arb" maximum
    EXPECT_EQ(w.shown(GeneratorBox::Frequency), "25000000.000");
    w.sink.posted.clear();
    w.enter(GeneratorBox::Frequency, "80000000");
    EXPECT_EQ(w.shown(GeneratorBox::Frequency), "25000000.000");
    EXPECT_EQ(w.sink.posted, (Posted{{kFrequency, 0}, {kChanged, 0}}));
}

TEST(DdsController, BoxesShowTheLimitedValue) {
    struct Case {
        GeneratorBox box;
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {GeneratorBox::Amplitude, "9", "3.500"},
        {GeneratorBox::Offset, "-9", "-7.000"},
        {GeneratorBox::Offset, "12.5", "7.000"},
        {GeneratorBox::Phase, "1.5", "1.000"},
        {GeneratorBox::Depth, "3", "1.000"},
        {GeneratorBox::Tau, "2", "1.000"},
        {GeneratorBox::HighFrequency, "30000000", "25000000.000"},
    };
    Window w;
    w.chooseType(WaveType::AmFm);
    for (const Case& c : cases) {
        w.enter(c.box, QString::fromLatin1(c.typed));
        EXPECT_EQ(w.shown(c.box), QString::fromLatin1(c.shown)) << c.typed;
    }
    // Maximum frequency is held to half the high frequency.
    w.enter(GeneratorBox::HighFrequency, "10000");
    w.enter(GeneratorBox::MaximumFrequency, "6000");
    EXPECT_EQ(w.shown(GeneratorBox::MaximumFrequency), "5000.000");
    EXPECT_EQ(w.wave.maximumFrequency, 5000);
}

TEST(DdsController, TextThatIsNoNumberChangesNothing) {
    Window w;
    w.sink.posted.clear();
    w.enter(GeneratorBox::Amplitude, "-");
    EXPECT_EQ(w.shown(GeneratorBox::Amplitude), "2.000");
    EXPECT_EQ(w.wave.amplitude, 2.0f);
    EXPECT_TRUE(w.sink.posted.empty());
}

TEST(DdsController, OffsetAndPhaseSpinsCountBackwardsAndStayInRange) {
    Window w;
    w.enter(GeneratorBox::Offset, "-9");
    EXPECT_EQ(w.wave.offset, -7);
    w.sink.posted.clear();
    w.panel().spinOffset(+1);  // subtracts a volt: -8, limited to -7
    EXPECT_EQ(w.wave.offset, -7);
    EXPECT_EQ(w.shown(GeneratorBox::Offset), "-7.000");
    QTest::mouseClick(w.panel().offsetSpin()->up(), Qt::LeftButton);  // the up arrow adds
    EXPECT_EQ(w.wave.offset, -6);
    w.panel().spinPhase(-1);
    EXPECT_FLOAT_EQ(w.wave.phase, 0.1f);
    w.panel().spinPhase(+1);
    w.panel().spinPhase(+1);
    EXPECT_FLOAT_EQ(w.wave.phase, 0.0f);
    EXPECT_EQ(w.sink.posted, Posted(5, {kChanged, 0}));
}

TEST(DdsController, CheckBoxesStoreTheirStateAndSendIt) {
    Window w;
    w.chooseType(WaveType::AmFm);
    w.sink.posted.clear();
    w.panel().syncOutBox()->click();
    w.panel().powerOnBox()->click();
    w.panel().fmBox()->click();
    w.panel().powerOnBox()->click();
    EXPECT_EQ(w.wave.syncOut, 1);
    EXPECT_EQ(w.wave.fmFlag, 1);
    EXPECT_EQ(w.wave.powerOn, 0);
    EXPECT_EQ(w.sink.posted, (Posted{{kSyncOut, 1}, {kPowerOn, 1}, {kChanged, 0}, {kPowerOn, 0}}));
}

TEST(DdsController, BoxesShownPerType) {
    Window w;
    using B = GeneratorBox;
    const B all[] = {B::Frequency,     B::Amplitude, B::Offset,   B::Phase,           B::Duty,
                     B::RiseDuty,      B::HighDuty,  B::FallDuty, B::RiseFlag,        B::Tau,
                     B::HighFrequency, B::Depth,     B::FmFlag,   B::MaximumFrequency};
    for (const gencmd::TypeCommand& c : gencmd::kTypeCommands) {
        w.run(c.id);
        const GeneratorBoxes expected = BoxesForType(c.type);
        for (B box : all)
            EXPECT_EQ(w.panel().rowShown(box), expected.contains(box))
                << "type " << int(c.type) << " box " << int(box);
        EXPECT_FALSE(w.panel().syncOutBox()->isHidden());
        EXPECT_FALSE(w.panel().powerOnBox()->isHidden());
    }
}

TEST(GeneratorTypes, ChoosingTheCurrentTypeQueuesNothingAnotherOnlyWhenConnected) {
    Window w;
    w.chooseType(WaveType::Sine);
    EXPECT_TRUE(w.sink.posted.empty());
    w.chooseType(WaveType::Ramp);
    EXPECT_TRUE(w.sink.posted.empty());  // not connected
    EXPECT_EQ(w.wave.waveType, WaveType::Ramp);
    w.connected = true;
    w.chooseType(WaveType::Square);
    EXPECT_EQ(w.sink.posted, (Posted{{kChanged, 0}}));
    EXPECT_TRUE(w.view.commands().state(32797).checked);
    EXPECT_FALSE(w.view.commands().state(32796).checked);
}

TEST(GeneratorTypes, ArbKeepsTheBaseShapesSamples) {
    Window w;
    w.chooseType(WaveType::Square);
    w.chooseType(WaveType::Arbitrary);
    EXPECT_EQ(w.wave.waveType, WaveType::Arbitrary);
    EXPECT_EQ(w.wave.baseType, WaveType::Square);
    EXPECT_FLOAT_EQ(w.wave.samples[0], 2.0f);
    EXPECT_FLOAT_EQ(w.wave.samples[500], -2.0f);
    EXPECT_TRUE(w.panel().rowShown(GeneratorBox::Frequency));
    EXPECT_FALSE(w.panel().rowShown(GeneratorBox::Amplitude));
}

// An "Arb" wave with one sample drawn by hand, then shown as a sine.
struct EditedThenSine : Window {
    static constexpr float kDrawn = 3.0f;
    EditedThenSine() {
        chooseType(WaveType::Square);
        chooseType(WaveType::Arbitrary);
        arb::DrawSample(wave, 10, 10, kDrawn);
        chooseType(WaveType::Sine);
        edited = wave.samples;
    }
    std::array<float, kGeneratorBufferSize> edited{};
};

TEST(GeneratorTypes, ArbOverHandEditsAsksFirst) {
    const QString question = QStringLiteral("Discard the edited waveform?");
    for (const bool discard : {false, true}) {
        EditedThenSine w;
        ASSERT_TRUE(w.messages.texts().isEmpty()) << "nothing was edited before";
        w.messages.setAnswer(discard);
        w.chooseType(WaveType::Arbitrary);
        EXPECT_EQ(w.messages.texts(), QStringList{question});
        EXPECT_EQ(w.wave.waveType, WaveType::Arbitrary);
        EXPECT_TRUE(w.view.commands().state(32807).checked);
        if (discard) {
            EXPECT_EQ(w.wave.baseType, WaveType::Sine);
            EXPECT_FLOAT_EQ(w.wave.samples[0], 0.0f);  // the sine's first sample
            EXPECT_FALSE(w.wave.bufferEdited);
        } else {
            EXPECT_TRUE(w.wave.samples == w.edited);
            EXPECT_EQ(w.wave.samples[10], EditedThenSine::kDrawn);
            EXPECT_EQ(w.wave.baseType, WaveType::Square);
            EXPECT_TRUE(w.wave.bufferEdited);
        }
    }
}

TEST(GeneratorTypes, SaveOfAStandardWaveOverHandEditsAsksFirst) {
    for (const bool discard : {false, true}) {
        QTemporaryDir folder;
        EditedThenSine w;
        const QString path = folder.filePath(QStringLiteral("sine.csv"));
        w.answerSaveWith(path);
        w.messages.setAnswer(discard);
        w.run(gencmd::kSave);
        EXPECT_EQ(w.messages.texts(), QStringList{QStringLiteral("Discard the edited waveform?")});
        EXPECT_EQ(QFile::exists(path), discard);
        if (discard) {
            EXPECT_EQ(w.wave.waveType, WaveType::Sine);
            EXPECT_FALSE(w.wave.bufferEdited);
        } else {
            // The edits stay, shown as the "Arb" wave they are.
            EXPECT_EQ(w.wave.waveType, WaveType::Arbitrary);
            EXPECT_TRUE(w.wave.samples == w.edited);
        }
    }
}

TEST(GeneratorTypes, OpenOverHandEditsAsksFirst) {
    QTemporaryDir folder;
    EditedThenSine w;
    const QString path = folder.filePath(QStringLiteral("other.csv"));
    std::ofstream(path.toStdString(), std::ios::binary) << "#CLOCK=10000\r\n#SIZE=10\r\n";
    w.answerOpenWith(path);
    w.messages.setAnswer(false);
    w.run(gencmd::kOpenCsv);
    EXPECT_TRUE(w.wave.samples == w.edited);
    EXPECT_EQ(w.wave.sampleCount, 1000);
    EXPECT_EQ(w.wave.waveType, WaveType::Arbitrary);
    w.messages.setAnswer(true);
    w.run(gencmd::kOpenCsv);
    EXPECT_EQ(w.wave.sampleCount, 10);
    EXPECT_EQ(w.messages.texts().size(), 2);
}

TEST(GeneratorTypes, GridAndBestFitToggleWithCheckMarks) {
    Window w;
    EXPECT_TRUE(w.view.commands().state(gencmd::kGrid).checked);
    w.run(gencmd::kGrid);
    EXPECT_FALSE(w.screen().gridVisible());
    EXPECT_FALSE(w.view.commands().state(gencmd::kGrid).checked);
    const bool fit = w.view.commands().state(gencmd::kBestFit).checked;
    w.run(gencmd::kBestFit);
    EXPECT_NE(w.view.commands().state(gencmd::kBestFit).checked, fit);
}

// An "Arb" window of the default sine with the display laid out.
struct ArbWindow : Window {
    ArbWindow() {
        chooseType(WaveType::Arbitrary);
        sink.posted.clear();
    }
    int xOf(int index) { return arb::CursorXForIndex(wave, screen().plotSpan(), index); }
    int yOfVolts(double volts) {
        const GridRect& g = screen().grid();
        return static_cast<int>(g.top + (3.5 - volts) * g.height() / 7.0);
    }
};

TEST(ArbEditor, DrawingFromTenToTwentyFillsTheSamplesBetween) {
    ArbWindow w;
    ASSERT_FALSE(w.screen().grid().empty());
    const float before = w.wave.samples[10];
    const QPoint start(w.xOf(10), w.yOfVolts(before));
    QTest::mousePress(&w.screen(), Qt::LeftButton, {}, start);
    ASSERT_EQ(w.screen().currentIndex(), 10);
    QTest::mouseMove(&w.screen(), QPoint(w.xOf(20), w.screen().grid().top));
    QTest::mouseRelease(&w.screen(), Qt::LeftButton, {}, QPoint(w.xOf(20), w.screen().grid().top));
    EXPECT_FLOAT_EQ(w.wave.samples[20], 3.5f);  // the top edge is 3.5 V
    for (int i = 11; i < 20; ++i)
        EXPECT_NEAR(w.wave.samples[static_cast<std::size_t>(i)],
                    before + (3.5 - before) * (i - 10) / 10.0, 1e-5)
            << i;
    EXPECT_EQ(w.sink.posted, (Posted{{kChanged, 0}}));
}

TEST(ArbEditor, BottomEdgeIsMinusThreeAndAHalf) {
    ArbWindow w;
    const GridRect& g = w.screen().grid();
    QTest::mousePress(&w.screen(), Qt::LeftButton, {}, QPoint(w.xOf(40), g.top + 10));
    QTest::mouseMove(&w.screen(), QPoint(w.xOf(40), g.bottom - 1));
    EXPECT_NEAR(w.wave.samples[40], -3.5 + 7.0 / g.height(), 1e-5);
    QTest::mouseRelease(&w.screen(), Qt::LeftButton, {}, QPoint(w.xOf(40), g.bottom - 1));
    EXPECT_FLOAT_EQ(static_cast<float>(arb::VoltsAtY(g.bottom, g.top, g.bottom)), -3.5f);
}

TEST(ArbEditor, ZoomSpansAndTheirAvailability) {
    Window standard;
    EXPECT_FALSE(standard.view.commands().state(gencmd::kZoomIn).enabled);
    ArbWindow w;
    EXPECT_TRUE(w.view.commands().state(gencmd::kZoomIn).enabled);
    std::vector<int> spans;
    for (int i = 0; i < 3; ++i) {
        w.run(gencmd::kZoomIn);
        spans.push_back(w.wave.viewSpan);
    }
    for (int i = 0; i < 6; ++i) {
        w.run(gencmd::kZoomOut);
        spans.push_back(w.wave.viewSpan);
    }
    EXPECT_EQ(spans, (std::vector<int>{166, 110, 100, 150, 225, 337, 505, 757, 1000}));
}

TEST(ArbEditor, ScrollThumbDragMovesTheViewStart) {
    ArbWindow w;
    const QRect thumb = w.screen().thumbRect();
    ASSERT_FALSE(thumb.isEmpty());
    const GridRect& g = w.screen().grid();
    QTest::mousePress(&w.screen(), Qt::LeftButton, {}, thumb.center());
    EXPECT_TRUE(w.screen().draggingThumb());
    QTest::mouseMove(&w.screen(), QPoint(g.left + g.width() / 2, thumb.center().y()));
    EXPECT_NEAR(w.wave.viewStart, 0.5f, 0.01f);
    QTest::mouseMove(&w.screen(), QPoint(g.right + 50, thumb.center().y()));
    EXPECT_EQ(w.wave.viewStart, 1.0f);
    QTest::mouseRelease(&w.screen(), Qt::LeftButton, {}, QPoint(g.right + 50, thumb.center().y()));
    EXPECT_EQ(arb::FirstShown(w.wave), 750);
}

TEST(ArbEditor, EditPointLimitsTheIndexAndTakesAnyVoltage) {
    ArbWindow w;
    w.view.openEditPoint(3);
    EditPointDialog* dialog = w.view.editPointDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->indexBox()->text(), "3");
    dialog->indexBox()->setText("5000");
    dialog->acceptIndex();
    EXPECT_EQ(dialog->index(), 999);
    EXPECT_EQ(dialog->indexBox()->text(), "999");
    EXPECT_EQ(w.screen().currentIndex(), 999);
    dialog->spin(+1);
    EXPECT_EQ(dialog->index(), 999);
    dialog->spin(-1);
    EXPECT_EQ(dialog->index(), 998);
    dialog->voltageBox()->setText("10");
    dialog->updatePoint();
    EXPECT_EQ(w.wave.samples[998], 10.0f);
    EXPECT_EQ(dialog->voltageBox()->text(), "10.000");
    EXPECT_EQ(w.sink.posted, (Posted{{kChanged, 0}}));
    dialog->close();
}

TEST(ArbEditor, EditPointRefusesAVoltageNoSampleCanHold) {
    ArbWindow w;
    w.view.openEditPoint(7);
    EditPointDialog* dialog = w.view.editPointDialog();
    ASSERT_NE(dialog, nullptr);
    const float before = w.wave.samples[7];
    const QString shown = dialog->voltageBox()->text();
    // 1e39 V, beyond the single-precision range, as digits the box takes.
    dialog->voltageBox()->setText(QStringLiteral("1") + QString(39, QLatin1Char('0')));
    dialog->acceptVoltage();
    EXPECT_EQ(w.wave.samples[7], before);
    EXPECT_EQ(dialog->voltageBox()->text(), shown);
    EXPECT_FALSE(w.wave.bufferEdited);
    // Leaving the box as shown keeps the sample's own value, not the rounded one.
    dialog->acceptVoltage();
    EXPECT_EQ(w.wave.samples[7], before);
    EXPECT_FALSE(w.wave.bufferEdited);
    dialog->voltageBox()->setText(QStringLiteral("-1.25"));
    dialog->acceptVoltage();
    EXPECT_EQ(w.wave.samples[7], -1.25f);
    EXPECT_TRUE(w.wave.bufferEdited);
    dialog->close();
}

std::string fileText(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(GeneratorFiles, SaveWritesTheModelsFileAndOpenMakesAnArbWave) {
    QTemporaryDir folder;
    Window w;
    const QString saved = folder.filePath(QStringLiteral("wave.CSV"));
    w.answerSaveWith(saved);
    w.answerOpenWith(saved);
    w.enter(GeneratorBox::Frequency, "2000");
    w.run(gencmd::kSave);
    GeneratorWave model;
    model.frequency = 2000;
    const QString expected = folder.filePath(QStringLiteral("model.csv"));
    ASSERT_TRUE(SaveCsv(model, expected.toStdString()).ok());
    EXPECT_EQ(fileText(saved), fileText(expected));

    std::ofstream(saved.toStdString(), std::ios::binary)
        << "#CLOCK=10000\r\n#SIZE=10\r\n1.5\r\n1.5e3,0,0\r\n0.25,0,0\r\n";
    w.run(gencmd::kOpenCsv);
    EXPECT_EQ(w.wave.waveType, WaveType::Arbitrary);
    EXPECT_EQ(w.wave.sampleCount, 10);
    EXPECT_EQ(w.wave.frequency, 1000);
    EXPECT_EQ(w.wave.samples[0], 0.0f);
    EXPECT_EQ(w.wave.samples[1], 0.0f);
    EXPECT_EQ(w.wave.samples[2], 0.25f);
    EXPECT_EQ(w.shown(GeneratorBox::Frequency), "1000.000");
    EXPECT_TRUE(w.panel().rowShown(GeneratorBox::Frequency));
    EXPECT_FALSE(w.panel().rowShown(GeneratorBox::Phase));
    EXPECT_LE(w.wave.viewSpan, 10);  // the editor's span never exceeds N
    EXPECT_TRUE(w.messages.texts().isEmpty());
}

TEST(GeneratorFiles, RefusedFilesChangeNothing) {
    QTemporaryDir folder;
    Window w;
    const QString bad = folder.filePath(QStringLiteral("bad.csv"));
    std::ofstream(bad.toStdString(), std::ios::binary) << "#CLOCK=1000\r\n#SIZE=0\r\n";
    w.answerOpenWith(bad);
    const GeneratorWave before = w.wave;
    w.run(gencmd::kOpenCsv);
    EXPECT_TRUE(w.wave == before);
    ASSERT_EQ(w.messages.texts().size(), 1);
    EXPECT_TRUE(w.messages.texts().front().startsWith("Cann't Save file: "));

    w.messages.clear();
    w.answerSaveWith(folder.filePath(QStringLiteral("missing/wave.csv")));
    w.run(gencmd::kSave);
    ASSERT_EQ(w.messages.texts().size(), 1);
    EXPECT_TRUE(w.messages.texts().front().startsWith("Cann't Save file: "));
}

TEST(GeneratorFiles, SaveAddsTheExtensionToABareNameAndRefusesAnother) {
    struct Case {
        const char* typed;
        const char* written;  // nullptr: refused with a message
    };
    const Case cases[] = {
        {"wave", "wave.csv"},
        {"upper.CSV", "upper.CSV"},
        {"wave.txt", nullptr},
        {"wave.csv.bak", nullptr},
    };
    const QString notCsv = QStringLiteral("Generator data files end in \".csv\".");
    for (const Case& c : cases) {
        QTemporaryDir folder;
        Window w;
        w.answerSaveWith(folder.filePath(QString::fromLatin1(c.typed)));
        w.run(gencmd::kSave);
        const QStringList files = QDir(folder.path()).entryList(QDir::Files);
        if (c.written) {
            EXPECT_EQ(files, QStringList{QString::fromLatin1(c.written)}) << c.typed;
            EXPECT_TRUE(w.messages.texts().isEmpty()) << c.typed;
        } else {
            EXPECT_TRUE(files.isEmpty()) << c.typed;
            EXPECT_EQ(w.messages.texts(), QStringList{notCsv}) << c.typed;
        }
    }
    // Opening a name of another kind says the same instead of nothing.
    Window w;
    const GeneratorWave before = w.wave;
    w.answerOpenWith(QStringLiteral("/tmp/wave.txt"));
    w.run(gencmd::kOpenCsv);
    EXPECT_TRUE(w.wave == before);
    EXPECT_EQ(w.messages.texts(), QStringList{notCsv});
}

TEST(GeneratorFiles, ZeroHertzIsRaisedToTheLowestAndTheSavedFileLoadsBack) {
    QTemporaryDir folder;
    Window w;
    w.enter(GeneratorBox::Frequency, "0");
    EXPECT_EQ(w.shown(GeneratorBox::Frequency), "0.001");
    EXPECT_EQ(w.wave.frequency, 0.001);
    const QString saved = folder.filePath(QStringLiteral("slow.csv"));
    w.answerSaveWith(saved);
    w.run(gencmd::kSave);
    EXPECT_TRUE(fileText(saved).starts_with("#CLOCK=1.000000\r\n"));
    GeneratorWave loaded;
    ASSERT_TRUE(LoadCsv(loaded, saved.toStdString()).ok());
    EXPECT_NEAR(loaded.frequency, 0.001, 1e-9);
    EXPECT_TRUE(w.messages.texts().isEmpty());
}

TEST(GeneratorScreen, ParameterListPerType) {
    GeneratorWave wave;
    EXPECT_EQ(GeneratorScreen::parameterLines(wave),
              (QStringList{"Sine", "Frequency: 1000.000 Hz", "Amplitude(Vpp): 4.000 V",
                           "Y-Offset: 0.000 V", "Phase: 0.0"}));
    wave.waveType = WaveType::Dc;
    EXPECT_EQ(GeneratorScreen::parameterLines(wave), (QStringList{"DC", "Y-Offset: 0.000 V"}));
    wave.waveType = WaveType::Zero;  // no name, the common lines
    EXPECT_EQ(GeneratorScreen::parameterLines(wave).size(), 4);
    EXPECT_EQ(GeneratorScreen::parameterLines(wave).front(), "Frequency: 1000.000 Hz");
    wave.waveType = WaveType::AmFm;
    wave.fmFlag = 1;
    const QStringList amfm = GeneratorScreen::parameterLines(wave);
    ASSERT_EQ(amfm.size(), 9);
    EXPECT_EQ(amfm[7], "FM?: YES");
    EXPECT_EQ(amfm[8], "Maximum Frequency: 3000.000 Hz");
    wave.waveType = WaveType::Exponent;
    EXPECT_EQ(GeneratorScreen::parameterLines(wave).back(), "Rise?: Yes");
}

TEST(GeneratorScreen, GraticuleIsTwelveByEightLikeTheScope) {
    Window w;
    EXPECT_EQ(w.screen().divisions().across, 12);
    EXPECT_EQ(w.screen().divisions().down, 8);
    const GridRect& g = w.screen().grid();
    ASSERT_FALSE(g.empty());
    EXPECT_NEAR(g.height(), g.width() * 2.0 / 3.0, 1.0) << "square divisions";
    // The first division's dotted line stands one twelfth across, not one tenth.
    w.chooseType(WaveType::Dc);  // a flat trace along the centre line
    QImage image(w.screen().size(), QImage::Format_RGB32);
    {
        QPainter painter(&image);
        w.screen().render(painter, image.rect());
    }
    // Five minor steps make a division; the dotted line stands on its edge.
    const double step = g.width() / 60.0;
    const QPoint dot(static_cast<int>(g.left + 5 * step), static_cast<int>(g.top + 2 * step));
    EXPECT_EQ(QColor(image.pixel(dot)), QColor(200, 200, 200));
    const QPoint tenth(g.left + g.width() / 10, dot.y());
    EXPECT_NE(QColor(image.pixel(tenth)), QColor(200, 200, 200));
}

// Each wave type shows a trace of its own shape, and only inside the plot.
TEST(GeneratorScreen, EveryTypeDrawsItsOwnTraceInsideThePlot) {
    Window w;
    const GridRect& g = w.screen().grid();
    const auto isTrace = [](QRgb pixel) {
        return qGreen(pixel) > 200 && qRed(pixel) < 100 && qBlue(pixel) < 100;
    };
    std::vector<std::pair<WaveType, std::vector<QPoint>>> traces;
    for (const gencmd::TypeCommand& c : gencmd::kTypeCommands) {
        w.run(c.id);
        QImage image(w.screen().size(), QImage::Format_RGB32);
        {
            QPainter painter(&image);
            w.screen().render(painter, image.rect());
        }
        std::vector<QPoint> trace;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (isTrace(image.pixel(x, y))) trace.emplace_back(x, y);
        const std::string_view name = WaveTypeName(c.type);
        ASSERT_FALSE(trace.empty()) << name;
        for (const QPoint& p : trace) {
            ASSERT_TRUE(p.x() >= g.left && p.x() <= g.right + 1 && p.y() >= g.top &&
                        p.y() <= g.bottom + 1)
                << name << " draws at " << p.x() << "," << p.y();
        }
        traces.emplace_back(c.type, std::move(trace));
    }
    // A flat DC of 0 V and the zero wave look alike; every other pair differs.
    for (std::size_t i = 0; i < traces.size(); ++i)
        for (std::size_t j = i + 1; j < traces.size(); ++j) {
            const bool bothFlat =
                (traces[i].first == WaveType::Dc || traces[i].first == WaveType::Zero) &&
                (traces[j].first == WaveType::Dc || traces[j].first == WaveType::Zero);
            EXPECT_EQ(traces[i].second == traces[j].second, bothFlat)
                << WaveTypeName(traces[i].first) << " and " << WaveTypeName(traces[j].first);
        }
}

}  // namespace
}  // namespace oscilane
