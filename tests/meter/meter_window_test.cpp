// The meter window without an instrument: the controller bar's refresh
// rules and the commands its controls queue, the measure-mode commands,
// Data save, and what the display draws for a record.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <utility>
#include <vector>

#include "device/device_link.h"
#include "meter/meter_command_ids.h"
#include "meter/meter_commands.h"
#include "meter/meter_controller.h"
#include "meter/meter_display.h"
#include "meter/meter_session.h"
#include "meter/meter_texts.h"
#include "meter/meter_view.h"
#include "model/meter_data.h"
#include "model/meter_display_rules.h"
#include "model/meter_tables.h"
#include "shell/document.h"
#include "shell/document_template.h"
#include "shell/message_service.h"
#include "shell/palette.h"
#include "shell/window_save.h"

using namespace oscilane;

namespace {

constexpr uint8_t kVoltage = 0, kCurrent = 1, kDiode = 3, kCapacitance = 5;

DmmInfo record(uint8_t mode, const std::function<void(DmmInfo&)>& change = {}) {
    DmmInfo r{};
    r.measureMode = mode;
    r.value = 5.0f;
    r.decimalScale = 1;
    r.prefixIndex = 7;
    r.unitIndex = mode == kCurrent ? 1 : 0;
    r.milliamps = 1;
    if (change) change(r);
    return r;
}

// Feeds the record to data as a good poll.
void report(MeterData& data, const DmmInfo& r) {
    data.Poll([r](DmmInfo* out) {
        *out = r;
        return 0;
    });
}

struct RecordingSink final : CommandSink {
    void Post(QueuedCommand c) override {
        posted.emplace_back(static_cast<MeterCommandKind>(c.kind),
                            static_cast<int32_t>(c.argument));
    }
    std::vector<std::pair<MeterCommandKind, int32_t>> posted;
};

class MeterControllerTest : public ::testing::Test {
  protected:
    RecordingSink sink_;
    MeterData data_;
    MeterController bar_{sink_, data_};
};

TEST_F(MeterControllerTest, RefreshShowsWhatTheReportedRecordAllows) {
    struct Case {
        const char* name;
        DmmInfo reported;
        int ranges;  // entries of a shown range list, -1 hidden
        bool acDc, autoManual, milliamps, rel;
    };
    const Case cases[] = {
        {"manual AC volts", record(kVoltage, [](DmmInfo& r) { r.manualRange = r.ac = 1; }), 5, true,
         true, false, true},
        {"manual DC volts", record(kVoltage, [](DmmInfo& r) { r.manualRange = 1; }), 6, true, true,
         false, true},
        {"auto volts", record(kVoltage), -1, true, true, false, true},
        {"volts with REL", record(kVoltage, [](DmmInfo& r) { r.rel = 1; }), -1, true, false, false,
         true},
        {"amps on the A input",
         record(kCurrent,
                [](DmmInfo& r) {
                    r.manualRange = 1;
                    r.milliamps = 0;
                }),
         -1, true, false, true, true},
        {"manual milliamps", record(kCurrent, [](DmmInfo& r) { r.manualRange = 1; }), 2, true, true,
         true, true},
        {"diode", record(kDiode), -1, false, false, false, false},
        {"capacitance", record(kCapacitance), -1, false, false, false, true},
    };
    for (const Case& c : cases) {
        bar_.refresh(c.reported);
        EXPECT_EQ(bar_.rangeList()->isHidden(), c.ranges < 0) << c.name;
        if (c.ranges >= 0) {
            EXPECT_EQ(bar_.rangeList()->count(), c.ranges) << c.name;
        }
        EXPECT_EQ(!bar_.acDcButton()->isHidden(), c.acDc) << c.name;
        EXPECT_EQ(!bar_.autoManualButton()->isHidden(), c.autoManual) << c.name;
        EXPECT_EQ(!bar_.milliampsButton()->isHidden(), c.milliamps) << c.name;
        EXPECT_EQ(!bar_.relButton()->isHidden(), c.rel) << c.name;
    }
    bar_.refresh(record(kCurrent, [](DmmInfo& r) { r.milliamps = 0; }));
    EXPECT_EQ(bar_.milliampsButton()->text(), QStringLiteral("A"));
    bar_.refresh(record(kVoltage, [](DmmInfo& r) { r.ac = r.manualRange = 1; }));
    EXPECT_EQ(bar_.acDcButton()->text(), QStringLiteral("AC"));
    EXPECT_EQ(bar_.autoManualButton()->text(), QStringLiteral("Manual"));
    EXPECT_TRUE(sink_.posted.empty());
}

TEST_F(MeterControllerTest, EachButtonAsksForTheOppositeOfTheReportedState) {
    bar_.refresh(record(kDiode));
    bar_.relButton()->click();
    bar_.acDcButton()->click();
    EXPECT_TRUE(sink_.posted.empty()) << "Rel and AC/DC mean nothing in diode mode";

    bar_.refresh(record(kVoltage, [](DmmInfo& r) { r.ac = 1; }));
    bar_.acDcButton()->click();
    bar_.relButton()->click();
    bar_.autoManualButton()->click();
    const std::vector<std::pair<MeterCommandKind, int32_t>> wanted{{MeterCommandKind::VoltAcDc, 0},
                                                                   {MeterCommandKind::VoltRel, 1},
                                                                   {MeterCommandKind::VoltMode, 1}};
    EXPECT_EQ(sink_.posted, wanted);
}

TEST_F(MeterControllerTest, ARefusedRangeSnapsBackToTheReportedOne) {
    const DmmInfo reported = record(kVoltage, [](DmmInfo& r) {
        r.manualRange = 1;
        r.rangeIndex = 1;
    });
    bar_.refresh(reported);
    ASSERT_EQ(bar_.rangeList()->currentIndex(), 1);
    bar_.rangeList()->setCurrentIndex(3);
    emit bar_.rangeList()->activated(3);
    ASSERT_EQ(sink_.posted.size(), 1u);
    EXPECT_EQ(sink_.posted[0], std::make_pair(MeterCommandKind::VoltRange, 3));
    bar_.refresh(reported);  // the meter still reports range 1
    EXPECT_EQ(bar_.rangeList()->currentIndex(), 1);
    EXPECT_EQ(sink_.posted.size(), 1u) << "snapping back queues nothing";
}

TEST(MeterSessionTest, AFailedRangeSetShowsItsMessage) {
    MessageRecorder messages;
    MeterSession session;
    // A LAN slot nobody opened: every call fails at once.
    session.execute((2u << 16) | 9u, queued({MeterCommandKind::VoltRange, 3}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !messages.texts().isEmpty(); }, 5000));
    EXPECT_EQ(messages.texts(), QStringList{QStringLiteral("Can not set DMM voltage range!")});
}

TEST_F(MeterControllerTest, StorageModeNeedsALogFileAndTheTimeListSetsTheInterval) {
    bar_.setLogPathChooser([](QWidget*) { return QString(); });
    bar_.storageModeButton()->click();
    EXPECT_FALSE(data_.Storage());
    EXPECT_TRUE(bar_.bufferModeButton()->isChecked());

    bar_.setLogPathChooser([](QWidget*) { return QStringLiteral("/tmp/chosen-meter-log.doc"); });
    bar_.storageModeButton()->click();
    EXPECT_TRUE(data_.Storage());
    EXPECT_EQ(data_.LogPath(), "/tmp/chosen-meter-log.doc");
    EXPECT_EQ(bar_.pathBox()->text(), QStringLiteral("/tmp/chosen-meter-log.doc"));
    EXPECT_FALSE(bar_.pathBox()->isEnabled());
    bar_.bufferModeButton()->click();
    EXPECT_FALSE(data_.Storage());

    bar_.timeList()->setCurrentIndex(4);
    emit bar_.timeList()->activated(4);
    EXPECT_EQ(data_.IntervalMs(), 2000);
    EXPECT_EQ(bar_.timeList()->count(), 11);
}

class MeterViewTest : public ::testing::Test {
  protected:
    MeterViewTest() {
        link_.adoptSession(std::unique_ptr<MeterSession>(session_));
        view_ = std::make_unique<MeterView>(document_, link_, *session_);
    }
    ~MeterViewTest() override { view_.reset(); }
    MeterData& data() { return session_->data(); }
    QString file(const char* name) const { return folder_.filePath(QString::fromLatin1(name)); }
    static QByteArray contents(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    MessageRecorder messages_;
    QTemporaryDir folder_;
    DocumentTemplate type_;
    Document document_{type_};
    CDeviceLink link_;
    MeterSession* session_ = new MeterSession;
    std::unique_ptr<MeterView> view_;
};

TEST_F(MeterViewTest, AModeCommandQueuesOnlyAModeTheMeterDoesNotReport) {
    report(data(), record(kVoltage));
    view_->commands().run(cmd::kMeterVoltage);
    EXPECT_EQ(link_.pendingCommands(), 0u);
    EXPECT_TRUE(view_->commands().state(cmd::kMeterVoltage).checked);
    EXPECT_FALSE(view_->commands().state(cmd::kMeterOhm).checked);
    view_->commands().run(cmd::kMeterOhm);
    const QueuedCommand c = link_.Pop();
    EXPECT_EQ(static_cast<MeterCommandKind>(c.kind), MeterCommandKind::MeasureMode);
    EXPECT_EQ(c.argument, 2u);
}

TEST_F(MeterViewTest, DataSaveWritesTheTrendAsLogLinesOrCsv) {
    report(data(), record(kVoltage, [](DmmInfo& r) { r.value = 1.25f; }));
    for (int i = 0; i < 3; ++i) data().Sample();

    ChosenFile chosen;
    view_->saver().askFile = [&](QWidget*, const SaveFileQuestion& question) {
        EXPECT_EQ(question.filters.size(), 5);
        return std::optional<ChosenFile>(chosen);
    };
    // The bytes follow the name: its extension, or the filter's for a bare name.
    struct Case {
        const char* name;
        const char* filter;
        const char* written;
        bool csv;
    };
    const Case cases[] = {
        {"trend.txt", "Text File(*.txt)", "trend.txt", false},
        {"trend.doc", "CSV File(*.csv)", "trend.doc", false},
        {"trend.csv", "Word File(*.doc)", "trend.csv", true},
        {"bare", "CSV File(*.csv)", "bare.csv", true},
        {"plain", "Text File(*.txt)", "plain.txt", false},
    };
    for (const Case& c : cases) {
        chosen = ChosenFile{file(c.name), QString::fromLatin1(c.filter)};
        view_->saveData();
        const QByteArray bytes = contents(file(c.written));
        if (c.csv) {
            EXPECT_TRUE(bytes.startsWith("time,value,unit,mode,acdc\r\n")) << c.name;
            EXPECT_EQ(bytes.count("\r\n"), 4) << c.name;
        } else {
            EXPECT_EQ(bytes.count("V=1.25 VDC\r\n"), 3) << c.name << bytes.toStdString();
        }
    }
    EXPECT_FALSE(QFile::exists(file("bare"))) << "a bare name is not written as it stands";

    chosen = ChosenFile{file("no-such-folder/trend.txt"), QStringLiteral("Text File(*.txt)")};
    view_->saveData();
    ASSERT_EQ(messages_.texts().size(), 1);
    EXPECT_TRUE(
        messages_.texts().front().startsWith(QString::fromLatin1(metertext::kCannotSaveData)));
}

TEST_F(MeterViewTest, SaveInStorageModeHandsTheFillingBufferToTheLog) {
    view_->saver().askFile = [](QWidget*, const SaveFileQuestion&) -> std::optional<ChosenFile> {
        ADD_FAILURE() << "storage mode asks for no file";
        return std::nullopt;
    };
    const QString log = file("m.txt");
    data().SetLogPath(log.toStdString());
    data().SetStorage(true);
    report(data(), record(kVoltage));
    for (int i = 0; i < 3; ++i) data().Sample();  // fewer than one 2-second batch
    ASSERT_EQ(data().FillingReadings(), 3u);
    view_->saveData();
    EXPECT_EQ(data().FillingReadings(), 0u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return contents(log).count("\r\n") == 3; }, 5000));
}

TEST_F(MeterViewTest, AnUnwritableLogIsReportedInTheStatusUntilWritingWorks) {
    const QString folder = file("later");
    data().SetLogPath((folder + QStringLiteral("/m.txt")).toStdString());
    data().SetStorage(true);
    report(data(), record(kVoltage));
    for (int i = 0; i < 10; ++i) data().Sample();  // one batch at 200 ms
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return MeterStatusLine(view_->picture()).rfind("Cannot write the log file: ", 0) == 0;
        },
        5000));
    ASSERT_TRUE(QDir().mkpath(folder));
    report(data(), record(kVoltage));  // the waiting may have made the reading stale
    for (int i = 0; i < 10; ++i) data().Sample();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return MeterStatusLine(view_->picture()).find("Cannot write the log file: ") ==
                   std::string::npos;
        },
        5000));
    EXPECT_EQ(contents(folder + QStringLiteral("/m.txt")).count("\r\n"), 20);
    EXPECT_TRUE(messages_.texts().isEmpty()) << "the status reports it, not a box";
}

// The display drawn into an image of its smallest size.
QImage paint(const MeterPicture& picture) {
    QImage image(MeterDisplay::kMinimumSize, QImage::Format_RGB32);
    QPainter p(&image);
    PaintMeter(p, image.rect(), picture);
    return image;
}

int pixelsOf(const QImage& image, const QColor& colour, QRect area) {
    area &= image.rect();
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += (image.pixel(x, y) | 0xFF000000u) == colour.rgb();
    return n;
}

MeterPicture connectedPicture(const DmmInfo& r) {
    MeterPicture picture;
    picture.record = r;
    picture.hasReading = picture.connected = true;
    return picture;
}

TEST(MeterDisplayTest, TheBarFillsTheStepsOfTheReading) {
    const DmmInfo r = record(kCapacitance, [](DmmInfo& c) {
        c.value = 150;
        c.prefixIndex = 1;  // nF
        c.unitIndex = 3;
    });
    ASSERT_EQ(BarSteps(r), 15);
    const QImage image = paint(connectedPicture(r));
    const QPoint base = MeterLayout::of(image.size()).barAnchor;
    const auto stepPixels = [&](int step) {
        const int x = base.x() + step * kBarStepPx;
        return pixelsOf(image, colour::kMeterText, QRect(x - 1, base.y() - 12, 3, 8));
    };
    EXPECT_GT(stepPixels(1), 0);
    EXPECT_GT(stepPixels(15), 0);
    EXPECT_EQ(stepPixels(16), 0);
    EXPECT_EQ(stepPixels(60), 0);
}

TEST(MeterDisplayTest, AnOverloadShowsOneGlyph) {
    const QImage image =
        paint(connectedPicture(record(kVoltage, [](DmmInfo& r) { r.overload = 1; })));
    const QPoint anchor = MeterLayout::of(image.size()).digitAnchor;
    const QRect last(anchor.x() - kDigitWidth, anchor.y() - kDigitHeight / 2, kDigitWidth,
                     kDigitHeight);
    EXPECT_GT(pixelsOf(image, colour::kMeterText, last), 0);
    EXPECT_EQ(pixelsOf(image, colour::kMeterText, last.translated(-kDigitWidth, 0)), 0);
    EXPECT_EQ(pixelsOf(image, colour::kMeterText, last.translated(-2 * kDigitWidth, 0)), 0);
}

TEST(MeterDisplayTest, PointAndMinusTakeTheirOwnPlacesBesideTheGlyphs) {
    using Kind = DigitShape::Kind;
    const std::vector<DigitShape> shapes = DigitShapes(QPoint(500, 100), "-1.5");
    struct Wanted {
        Kind kind;
        QRect rect;
        char glyph;
    };
    const Wanted wanted[] = {
        {Kind::Glyph, QRect(450, 65, 50, 70), '5'},
        {Kind::Dot, QRect(437, 127, 16, 16), 0},  // centre (445, 135): 20 px taken
        {Kind::Glyph, QRect(380, 65, 50, 70), '1'},
        {Kind::Minus, QRect(340, 95, 40, 10), 0},  // centred on (360, 100)
    };
    ASSERT_EQ(shapes.size(), std::size(wanted));
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        EXPECT_EQ(shapes[i].kind, wanted[i].kind) << i;
        EXPECT_EQ(shapes[i].rect, wanted[i].rect) << i;
        if (wanted[i].kind == Kind::Glyph) {
            EXPECT_EQ(shapes[i].glyph, wanted[i].glyph) << i;
        }
    }
}

TEST(MeterDisplayTest, TheUnitStartsFortyPixelsRightOfTheDigits) {
    const DmmInfo r = record(kVoltage, [](DmmInfo& v) {
        v.value = -1.5f;
        v.decimalScale = 3;
    });
    const QImage image = paint(connectedPicture(r));
    const QPoint anchor = MeterLayout::of(image.size()).digitAnchor;
    // The point and the minus are drawn where their shapes say.
    const std::vector<DigitShape> shapes = DigitShapes(anchor, "-1.5");
    ASSERT_EQ(shapes.size(), 4u);
    EXPECT_EQ(image.pixel(shapes[1].rect.center()) | 0xFF000000u, colour::kMeterText.rgb());
    EXPECT_EQ(image.pixel(shapes[3].rect.center()) | 0xFF000000u, colour::kMeterText.rgb());
    // The unit's first column lies 40 px right of the anchor, give or take
    // the font's side bearing; nothing is drawn in the gap.
    const QRect band(anchor.x() + 1, anchor.y() - 10, 150, 70);
    int first = -1;
    for (int x = band.left(); x <= band.right() && first < 0; ++x)
        if (pixelsOf(image, colour::kMeterText, QRect(x, band.top(), 1, band.height())) > 0)
            first = x - anchor.x();
    EXPECT_GE(first, 40);
    EXPECT_LE(first, 48);
}

TEST(MeterDisplayTest, HalfAFullTrendCoversTheLeftHalfOfThePlot) {
    MeterPicture picture = connectedPicture(record(kVoltage));
    MeterReading reading;
    reading.value = 3.0f;
    picture.trend.assign(kTrendCapacity / 2, reading);
    const QImage image = paint(picture);
    const QRect plot = MeterLayout::of(image.size()).trend.adjusted(1, 1, -1, -1);
    const int middle = plot.left() + plot.width() / 2;
    const QRect left(plot.left(), plot.top(), middle - plot.left() - 4, plot.height());
    const QRect right(middle + 4, plot.top(), plot.right() - middle - 4, plot.height());
    EXPECT_GT(pixelsOf(image, colour::kMeterTrend, left), (middle - plot.left()) / 2);
    EXPECT_EQ(pixelsOf(image, colour::kMeterTrend, right), 0);
}

TEST(MeterDisplayTest, StatusTextsShowOnlyWhileConnected) {
    const DmmInfo r = record(kVoltage, [](DmmInfo& v) { v.manualRange = 1; });
    const QRect status(100, 5, 300, 24);
    MeterPicture picture = connectedPicture(r);
    EXPECT_GT(pixelsOf(paint(picture), colour::kMeterText, status), 0);
    picture.connected = false;
    EXPECT_EQ(pixelsOf(paint(picture), colour::kMeterText, status), 0);
}

TEST(MeterDisplayTest, InAutoRangeTheStatusNamesNoRange) {
    // The meter leaves the range index alone in automatic range: whatever it
    // holds must not show.
    const QRect status(100, 5, 560, 24);
    const auto statusOf = [&](uint8_t manual, uint8_t index) {
        const QImage image = paint(connectedPicture(record(kVoltage, [&](DmmInfo& r) {
            r.manualRange = manual;
            r.rangeIndex = index;
        })));
        return image.copy(status);
    };
    EXPECT_EQ(statusOf(0, 1), statusOf(0, 4));
    EXPECT_NE(statusOf(1, 1), statusOf(1, 4));
}

TEST(MeterDisplayTest, AStaleReadingOrARecordNoDrawingCaseCoversIsReportedInTheStatusLine) {
    MessageRecorder messages;
    struct Case {
        DmmInfo r;
        std::string wanted;
        bool stale = false;
    };
    const Case cases[] = {
        {record(9), metertext::kCannotDrawMode},
        {record(kVoltage, [](DmmInfo& r) { r.ac = 2; }), metertext::kCannotDrawAcDc},
        {record(kVoltage), ""},
        {record(kVoltage), metertext::kStaleReading, true},
    };
    for (const Case& c : cases) {
        MeterPicture picture = connectedPicture(c.r);
        picture.stale = c.stale;
        EXPECT_EQ(MeterStatusLine(picture), c.wanted);
        const QImage image = paint(picture);  // draws without a box
        const QRect line = MeterLayout::of(image.size()).statusLine;
        EXPECT_EQ(pixelsOf(image, colour::kMeterWarning, line) > 0, !c.wanted.empty());
    }
    MeterPicture both = connectedPicture(record(7));
    both.logError = "Cannot write the log file: m.txt: No space left on device";
    EXPECT_EQ(MeterStatusLine(both), both.logError + "  " + metertext::kCannotDrawMode);
    EXPECT_TRUE(messages.texts().isEmpty());
}

}  // namespace
