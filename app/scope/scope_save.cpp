#include "scope/scope_save.h"

#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "model/waveform.h"
#include "scope/scope_command_ids.h"
#include "scope/scope_data.h"
#include "scope/scope_file_texts.h"
#include "scope/scope_link_state.h"
#include "shell/command_map.h"
#include "shell/message_service.h"
#include "shell/message_texts.h"
#include "shell/window_picture.h"

namespace oscilane {
namespace {

namespace text = scopefiletext;

constexpr int kPictureDelayMs = 1;
constexpr qsizetype kReasonLimit = 1024;
const char* const kChannelNames[] = {"CH1", "CH2", "MATH"};

QString latin(const char* s) { return QString::fromLatin1(s); }

std::optional<SaveChoice> runSaveDialog(QWidget* parent) {
    SaveDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.choice();
}

std::optional<ChosenFile> runFileDialog(QWidget* parent, const SaveFileQuestion& question) {
    QFileDialog dialog(parent, question.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(question.filters);
    dialog.setDefaultSuffix(question.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return ChosenFile{dialog.selectedFiles().constFirst(), dialog.selectedNameFilter()};
}

// The child frame around the view: what the user sees as the scope window.
QWidget* frameOf(QWidget* view) {
    for (QWidget* w = view; w; w = w->parentWidget())
        if (qobject_cast<QMdiSubWindow*>(w)) return w;
    return view ? view->window() : nullptr;
}

}  // namespace

SaveDialog::SaveDialog(QWidget* parent)
    : QDialog(parent),
      data_(new QRadioButton(latin(text::kData))),
      picture_(new QRadioButton(latin(text::kPicture))),
      channels_(new QListWidget) {
    setWindowTitle(latin(text::kSaveTitle));
    for (const char* name : kChannelNames) channels_->addItem(latin(name));
    channels_->setCurrentRow(0);
    data_->setChecked(true);
    connect(picture_, &QRadioButton::toggled, channels_,
            [this](bool on) { channels_->setEnabled(!on); });

    auto* group = new QGroupBox(latin(text::kSetupGroup));
    auto* groupLayout = new QHBoxLayout(group);
    auto* kinds = new QVBoxLayout;
    kinds->addWidget(data_);
    kinds->addWidget(picture_);
    kinds->addStretch();
    groupLayout->addLayout(kinds);
    groupLayout->addWidget(channels_);

    auto* ok = new QPushButton(latin(text::kOk));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

SaveChoice SaveDialog::choice() const {
    return SaveChoice{picture_->isChecked(), std::max(0, channels_->currentRow())};
}

SaveFileQuestion dataFileQuestion() {
    SaveFileQuestion q{latin(text::kSaveAsTitle), {}, latin(text::kDataSuffix)};
    for (const char* filter : text::kDataFilters) q.filters << latin(filter);
    return q;
}

SaveFileQuestion pictureFileQuestion() {
    return {latin(text::kSaveAsTitle),
            {QStringLiteral("BMP File(*.bmp)"), QStringLiteral("JPEG File(*.jpg)"),
             QStringLiteral("PNG File(*.png)")},
            QStringLiteral("bmp")};
}

WaveformFileFormat dataFormatFor(const ChosenFile& file) {
    if (file.filter == latin(text::kCsvFilter)) return WaveformFileFormat::Csv;
    return WaveformFormatForName(file.path.toStdString());
}

bool saveTraceFile(const SettingBlock& block, int channel, const ChosenFile& file) {
    const Waveform wave(block, channel);
    const WaveformSaveResult r =
        SaveWaveformFile(wave, dataFormatFor(file), file.path.toStdString());
    if (r.ok()) return true;
    if (r.outcome == WaveformSaveOutcome::ChannelOff) {
        showMessage(latin(text::kChannelOffNoCsv).arg(latin(kChannelNames[channel])),
                    MessageKind::Warning);
    } else {
        showMessage(
            latin(msg::kCannotSaveFile).arg(QString::fromStdString(r.reason).left(kReasonLimit)),
            MessageKind::Error);
    }
    return false;
}

ScopeSaver::ScopeSaver(QWidget* view, const ScopeData& data, std::function<QWidget*()> frame)
    : QObject(view),
      askChoice(runSaveDialog),
      askFile(runFileDialog),
      view_(view),
      data_(data),
      frame_(std::move(frame)) {
    pictureTimer_.setSingleShot(true);
    pictureTimer_.setInterval(kPictureDelayMs);
    connect(&pictureTimer_, &QTimer::timeout, this, &ScopeSaver::takePicture);
}

void ScopeSaver::run() {
    const std::optional<SaveChoice> choice = askChoice(view_);
    if (!choice) return;
    if (!choice->picture) {
        const int channel = std::clamp(choice->channel, 0, 2);
        if (const auto file = askFile(view_, dataFileQuestion()))
            saveTraceFile(data_.displayedBlock, channel, *file);
        return;
    }
    const auto file = askFile(view_, pictureFileQuestion());
    if (!file) return;
    picturePath_ = file->path;
    pictureFormat_ = pictureFormatFor(file->path, file->filter);
    pictureTimer_.start();
}

void ScopeSaver::takePicture() {
    pictureTimer_.stop();
    QWidget* frame = frame_ ? frame_() : nullptr;
    const QImage picture = grabWindowOnScreen(frame);
    // A window wholly off the screen has nothing to capture.
    if (picture.isNull()) return;
    saveWindowImage(picturePath_, picture, pictureFormat_,
                    bitmapBitsForDisplay(displayBits(frame)));
}

ScopeSaver* installScopeSave(QWidget* view, CommandMap& commands, const ScopeData& data,
                             const ScopeLinkState& state) {
    auto* saver = new ScopeSaver(view, data, [view] { return frameOf(view); });
    commands.on(
        cmd::kScopeSave, [saver] { saver->run(); },
        [&state] { return CommandState{state.connected()}; });
    return saver;
}

}  // namespace oscilane
