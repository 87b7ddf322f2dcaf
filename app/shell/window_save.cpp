#include "shell/window_save.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "shell/save_texts.h"
#include "shell/window_picture.h"

namespace oscilane {
namespace {

constexpr int kPictureDelayMs = 1;

QString latin(const char* s) { return QString::fromLatin1(s); }

}  // namespace

SaveDialog::SaveDialog(const QStringList& channels, QWidget* parent)
    : QDialog(parent),
      data_(new QRadioButton(latin(savetext::kData))),
      picture_(new QRadioButton(latin(savetext::kPicture))) {
    setWindowTitle(latin(savetext::kSaveTitle));
    data_->setChecked(true);

    auto* group = new QGroupBox(latin(savetext::kSetupGroup));
    auto* groupLayout = new QHBoxLayout(group);
    auto* kinds = new QVBoxLayout;
    kinds->addWidget(data_);
    kinds->addWidget(picture_);
    kinds->addStretch();
    groupLayout->addLayout(kinds);
    if (!channels.isEmpty()) {
        channels_ = new QListWidget;
        channels_->addItems(channels);
        channels_->setCurrentRow(0);
        connect(picture_, &QRadioButton::toggled, channels_,
                [this](bool on) { channels_->setEnabled(!on); });
        groupLayout->addWidget(channels_);
    }

    auto* ok = new QPushButton(latin(savetext::kOk));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

SaveChoice SaveDialog::choice() const {
    return SaveChoice{picture_->isChecked(), channels_ ? std::max(0, channels_->currentRow()) : 0};
}

SaveFileQuestion pictureFileQuestion() {
    SaveFileQuestion q{latin(savetext::kPictureTitle), {}, latin(savetext::kPictureSuffix)};
    for (const char* filter : savetext::kPictureFilters) q.filters << latin(filter);
    return q;
}

SaveFileQuestion dataFileQuestion() {
    SaveFileQuestion q{latin(savetext::kPictureTitle), {}, latin(savetext::kDataSuffix)};
    for (const char* filter : savetext::kDataFilters) q.filters << latin(filter);
    return q;
}

bool writesCsv(const ChosenFile& file) {
    return resolveChosenFile(file, dataFileQuestion().filters).filter ==
           latin(savetext::kCsvFilter);
}

std::optional<ChosenFile> askSaveFile(QWidget* parent, const SaveFileQuestion& question) {
    QFileDialog dialog(parent, question.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(question.filters);
    dialog.setDefaultSuffix(question.defaultSuffix);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& filter) {
                         const QString suffix = filterSuffix(filter);
                         if (!suffix.isEmpty()) dialog.setDefaultSuffix(suffix);
                     });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return ChosenFile{dialog.selectedFiles().constFirst(), dialog.selectedNameFilter()};
}

QString filterSuffix(const QString& filter) {
    const qsizetype star = filter.indexOf(QLatin1String("*."));
    if (star < 0) return {};
    const qsizetype end = filter.indexOf(QLatin1Char(')'), star);
    const QString suffix = filter.mid(star + 2, end < 0 ? -1 : end - star - 2);
    return suffix == QLatin1String("*") ? QString() : suffix;
}

ChosenFile resolveChosenFile(ChosenFile file, const QStringList& filters) {
    const QString suffix = QFileInfo(file.path).suffix();
    if (suffix.isEmpty()) {
        const QString added = filterSuffix(file.filter);
        if (!added.isEmpty()) file.path += QLatin1Char('.') + added;
        return file;
    }
    for (const QString& filter : filters) {
        if (filterSuffix(filter).compare(suffix, Qt::CaseInsensitive) == 0) {
            file.filter = filter;
            break;
        }
    }
    return file;
}

QWidget* frameOf(QWidget* view) {
    for (QWidget* w = view; w; w = w->parentWidget())
        if (qobject_cast<QMdiSubWindow*>(w)) return w;
    return view ? view->window() : nullptr;
}

WindowSaver::WindowSaver(QWidget* view, QStringList channels, SaveData dataSaver)
    : QObject(view),
      askChoice([channels](QWidget* parent) -> std::optional<SaveChoice> {
          SaveDialog dialog(channels, parent);
          if (dialog.exec() != QDialog::Accepted) return std::nullopt;
          return dialog.choice();
      }),
      askFile(askSaveFile),
      saveData(std::move(dataSaver)),
      view_(view) {
    pictureTimer_.setSingleShot(true);
    pictureTimer_.setInterval(kPictureDelayMs);
    connect(&pictureTimer_, &QTimer::timeout, this, &WindowSaver::takePicture);
}

void WindowSaver::run() {
    const std::optional<SaveChoice> choice = askChoice(view_);
    if (!choice) return;
    if (!choice->picture) {
        if (saveData) saveData(*choice);
        return;
    }
    const auto file = chooseFile(pictureFileQuestion());
    if (!file) return;
    picturePath_ = file->path;
    pictureFormat_ = pictureFormatFor(file->path, file->filter);
    pictureTimer_.start();
}

std::optional<ChosenFile> WindowSaver::chooseFile(const SaveFileQuestion& question) {
    const std::optional<ChosenFile> file = askFile(view_, question);
    if (!file) return std::nullopt;
    return resolveChosenFile(*file, question.filters);
}

void WindowSaver::takePicture() {
    pictureTimer_.stop();
    QWidget* frame = frameOf(view_);
    const QImage picture = grabWindowOnScreen(frame);
    // A window wholly off the screen has nothing to capture.
    if (picture.isNull()) return;
    saveWindowImage(picturePath_, picture, pictureFormat_,
                    bitmapBitsForDisplay(displayBits(frame)));
}

}  // namespace oscilane
