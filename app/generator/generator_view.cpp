#include "generator/generator_view.h"

#include <QFileDialog>

#include "generator/arb_edit.h"
#include "generator/dds_controller.h"
#include "generator/edit_point_dialog.h"
#include "generator/generator_ids.h"
#include "generator/generator_report.h"
#include "generator/generator_screen.h"
#include "generator/generator_window_texts.h"
#include "model/generator_csv.h"
#include "shell/message_service.h"
#include "shell/report_commands.h"
#include "shell/window_save.h"

namespace oscilane {
namespace {

QString latin(const char* text) { return QString::fromLatin1(text); }

// Only a name ending in ".csv", in any case, is saved or opened; any other
// is ignored without a word.
bool isCsvPath(const QString& path) {
    return path.right(4).compare(latin(gentext::kCsvExtension), Qt::CaseInsensitive) == 0;
}

std::filesystem::path localPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString askForCsv(QWidget* parent, QFileDialog::AcceptMode mode, const char* title) {
    QFileDialog dialog(parent, latin(title), QString(), latin(gentext::kCsvFilter));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

}  // namespace

CsvFileDialogs standardCsvFileDialogs() {
    return {
        [](QWidget* parent) {
            return askForCsv(parent, QFileDialog::AcceptSave, gentext::kSaveCsvTitle);
        },
        [](QWidget* parent) {
            return askForCsv(parent, QFileDialog::AcceptOpen, gentext::kOpenCsvTitle);
        },
    };
}

GeneratorView::GeneratorView(Document& document, GeneratorWave& wave, CommandSink& commands,
                             std::function<bool()> connected)
    : document_(document),
      wave_(wave),
      commands_(commands),
      screen_(new GeneratorScreen(wave)),
      controller_(new DdsController(wave, commands, std::move(connected), this)),
      dialogs_(standardCsvFileDialogs()) {
    controller_->hide();
    screen_->setMinimumSize(kFormSize);
    setWidget(screen_);
    setWidgetResizable(true);
    screen_->bufferChanged();

    connect(controller_, &DdsController::waveChanged, this, [this] { screen_->bufferChanged(); });
    connect(screen_, &GeneratorScreen::edited, this,
            [this] { commands_.Post(CommandKind::GeneratorChanged, 0); });
    connect(screen_, &GeneratorScreen::editPointRequested, this, &GeneratorView::openEditPoint);
    addCommands();

    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &GeneratorView::tick);
    timer_.start();
}

void GeneratorView::tick() {
    if (!laidOut_) {
        laidOut_ = true;
        screen_->layOut();
    }
    screen_->update();
}

void GeneratorView::addCommands() {
    for (const gencmd::TypeCommand& c : gencmd::kTypeCommands) {
        const WaveType type = c.type;
        commands().on(
            c.id, [this, type] { controller_->chooseType(type); },
            [this, type] {
                return CommandState{true, wave_.waveType == type};
            });
    }
    commands().on(
        gencmd::kGrid, [this] { screen_->setGridVisible(!screen_->gridVisible()); },
        [this] {
            return CommandState{true, screen_->gridVisible()};
        });
    commands().on(
        gencmd::kBestFit, [this] { screen_->toggleBestFit(); },
        [this] {
            return CommandState{true, screen_->bestFit()};
        });
    const auto zoomState = [this] { return CommandState{arb::ZoomAvailable(wave_)}; };
    commands().on(
        gencmd::kZoomIn,
        [this] {
            if (!arb::ZoomAvailable(wave_)) return;
            wave_.viewSpan = arb::ZoomedInSpan(wave_.viewSpan, wave_.sampleCount);
            screen_->resetCursor();
            screen_->bufferChanged();
        },
        zoomState);
    commands().on(
        gencmd::kZoomOut,
        [this] {
            if (!arb::ZoomAvailable(wave_)) return;
            wave_.viewSpan = arb::ZoomedOutSpan(wave_.viewSpan, wave_.sampleCount);
            screen_->resetCursor();
            screen_->bufferChanged();
        },
        zoomState);
    saver_ = new WindowSaver(this, {}, [this](const SaveChoice&) { saveData(); });
    commands().on(gencmd::kSave, [this] { saver_->run(); });
    report_ = installReportCommands(
        this, commands(), [this](QPainter& p, QSize page, const QDateTime& when) {
            drawGeneratorReport(p, page, plotPicture(), GeneratorScreen::parameterLines(wave_),
                                when);
        });
    commands().on(gencmd::kOpenCsv, [this] { openCsv(); });
}

QImage GeneratorView::plotPicture() const { return screen_->grab(screen_->plotArea()).toImage(); }

void GeneratorView::saveData() {
    const QString path = dialogs_.savePath ? dialogs_.savePath(this) : QString();
    if (path.isEmpty() || !isCsvPath(path)) return;
    const CsvResult result = SaveCsv(wave_, localPath(path));
    if (!result.ok()) showMessage(QString::fromStdString(result.message()));
    // A standard wave was synthesized into the buffer for the file.
    screen_->bufferChanged();
}

void GeneratorView::openCsv() {
    const QString path = dialogs_.openPath ? dialogs_.openPath(this) : QString();
    if (path.isEmpty() || !isCsvPath(path)) return;
    const CsvResult result = LoadCsv(wave_, localPath(path));
    if (!result.ok()) {
        showMessage(QString::fromStdString(result.message()));
        return;
    }
    controller_->load();
    controller_->arrange();
    screen_->resetCursor();
    screen_->bufferChanged();
}

EditPointDialog* GeneratorView::editPointDialog() const { return editPoint_.data(); }

void GeneratorView::openEditPoint(int index) {
    if (editPoint_) editPoint_->close();
    auto* dialog = new EditPointDialog(wave_, index, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &EditPointDialog::indexChanged, screen_, &GeneratorScreen::setCurrentIndex);
    connect(dialog, &EditPointDialog::pointUpdated, this, [this] {
        commands_.Post(CommandKind::GeneratorChanged, 0);
        screen_->update();
    });
    editPoint_ = dialog;
    dialog->setModal(true);
    dialog->show();
}

}  // namespace oscilane
