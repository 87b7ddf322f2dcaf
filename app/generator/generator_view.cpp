#include "generator/generator_view.h"

#include <QFileDialog>
#include <QFileInfo>

#include "generator/arb_edit.h"
#include "generator/dds_controller.h"
#include "generator/edit_point_dialog.h"
#include "generator/generator_ids.h"
#include "generator/generator_report.h"
#include "generator/generator_screen.h"
#include "generator/generator_window_texts.h"
#include "model/generator_csv.h"
#include "shell/message_service.h"
#include "shell/recent_files.h"
#include "shell/report_commands.h"
#include "shell/window_tick.h"

namespace oscilane {
namespace {

QString latin(const char* text) { return QString::fromLatin1(text); }

QString csvSuffix() { return filterSuffix(latin(gentext::kCsvFilter)); }

// Only a name ending in ".csv", in any case, is saved or opened; any other is
// refused with a word on what the name needs.
bool isCsvPath(const QString& path) {
    if (QFileInfo(path).suffix().compare(csvSuffix(), Qt::CaseInsensitive) == 0) return true;
    showMessage(latin(gentext::kNotCsvName));
    return false;
}

std::filesystem::path localPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace

OpenCsvDialog standardOpenCsvDialog() {
    return [](QWidget* parent) {
        QFileDialog dialog(parent, latin(gentext::kOpenCsvTitle), QString(),
                           latin(gentext::kCsvFilter));
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDefaultSuffix(csvSuffix());
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().front();
    };
}

SaveFileQuestion csvFileQuestion() {
    return {latin(gentext::kSaveCsvTitle), {latin(gentext::kCsvFilter)}, csvSuffix()};
}

GeneratorView::GeneratorView(Document& document, GeneratorWave& wave, CommandSink& commands,
                             std::function<bool()> connected)
    : document_(document),
      wave_(wave),
      commands_(commands),
      screen_(new GeneratorScreen(wave)),
      controller_(new DdsController(wave, commands, std::move(connected), this)),
      openDialog_(standardOpenCsvDialog()) {
    controller_->hide();
    screen_->setMinimumSize(kFormSize);
    setWidget(screen_);
    setWidgetResizable(true);
    screen_->bufferChanged();

    connect(controller_, &DdsController::waveChanged, this, [this] { screen_->bufferChanged(); });
    connect(screen_, &GeneratorScreen::edited, this,
            [this] { commands_.Post(generatorCommand(GeneratorCommandKind::Changed)); });
    connect(screen_, &GeneratorScreen::editPointRequested, this, &GeneratorView::openEditPoint);
    addCommands();

    timer_.setInterval(kWindowTickMs);
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
    const std::optional<ChosenFile> file = saver_->chooseFile(csvFileQuestion());
    if (!file || file->path.isEmpty() || !isCsvPath(file->path)) return;
    // A standard wave is synthesized into the buffer for the file, over any
    // hand edits the buffer still holds.
    if (wave_.waveType != WaveType::Arbitrary && !controller_->mayReplaceBuffer()) return;
    const CsvResult result = SaveCsv(wave_, localPath(file->path));
    if (result.ok())
        noteRecentFile(file->path);
    else
        showMessage(QString::fromStdString(result.message()));
    screen_->bufferChanged();
}

void GeneratorView::openCsv() {
    const QString path = openDialog_ ? openDialog_(this) : QString();
    if (path.isEmpty() || !isCsvPath(path)) return;
    loadCsvFile(path);
}

bool GeneratorView::loadCsvFile(const QString& path) {
    if (!controller_->mayReplaceBuffer()) return false;
    const CsvResult result = LoadCsv(wave_, localPath(path));
    if (!result.ok()) {
        showMessage(QString::fromStdString(result.message()));
        return false;
    }
    noteRecentFile(path);
    controller_->load();
    controller_->arrange();
    screen_->resetCursor();
    screen_->bufferChanged();
    return true;
}

EditPointDialog* GeneratorView::editPointDialog() const { return editPoint_.data(); }

void GeneratorView::openEditPoint(int index) {
    if (editPoint_) editPoint_->close();
    auto* dialog = new EditPointDialog(wave_, index, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &EditPointDialog::indexChanged, screen_, &GeneratorScreen::setCurrentIndex);
    connect(dialog, &EditPointDialog::pointUpdated, this, [this] {
        commands_.Post(generatorCommand(GeneratorCommandKind::Changed));
        screen_->update();
    });
    editPoint_ = dialog;
    dialog->setModal(true);
    dialog->show();
}

}  // namespace oscilane
