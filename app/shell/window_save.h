// The Save command the scope, meter and generator windows share: the "Save"
// dialog (data, with an optional channel list, or a picture of the window),
// the save-file question, and the picture itself, taken by a 1 ms one-shot
// timer so the dialogs are gone from the window before it is grabbed.  What
// "Data" writes is each window's own business.
#pragma once

#include <QDialog>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <optional>

#include "shell/bitmap_file.h"

class QListWidget;
class QRadioButton;

namespace oscilane {

struct SaveChoice {
    bool picture = false;
    int channel = 0;  // the row of the channel list; 0 without one
};

// The "Save" dialog: "Data" (set at first) or "Picture", and, when channels
// are given, their list (the first at first), which "Picture" disables.
class SaveDialog : public QDialog {
    Q_OBJECT
  public:
    explicit SaveDialog(const QStringList& channels = {}, QWidget* parent = nullptr);
    SaveChoice choice() const;
    QRadioButton* dataButton() const { return data_; }
    QRadioButton* pictureButton() const { return picture_; }
    // Null when the dialog has no channels to offer.
    QListWidget* channelList() const { return channels_; }

  private:
    QRadioButton* data_;
    QRadioButton* picture_;
    QListWidget* channels_ = nullptr;
};

// What a save-file dialog asks with.
struct SaveFileQuestion {
    QString title;
    QStringList filters;
    QString defaultSuffix;
};
SaveFileQuestion pictureFileQuestion();
// The data file's question of the scope and the meter.
SaveFileQuestion dataFileQuestion();

struct ChosenFile {
    QString path;
    QString filter;  // the name filter the user left selected
};

// Runs a modal save-file dialog; nothing when cancelled.  The extension the
// dialog adds to a bare name follows the filter the user selects.
std::optional<ChosenFile> askSaveFile(QWidget* parent, const SaveFileQuestion& question);

// The extension a name filter stands for: "csv" for "CSV File(*.csv)".
QString filterSuffix(const QString& filter);

// What the user meant by a name and a filter, so the bytes written match the
// name: a name without an extension gets the chosen filter's, and the filter
// that describes the file is the one of `filters` whose extension the name
// has (the chosen one when none has it).
ChosenFile resolveChosenFile(ChosenFile file, const QStringList& filters);

// Whether a data file chosen with dataFileQuestion() is written as CSV: a
// ".csv" name, or a name of no data-file type under the CSV filter.
bool writesCsv(const ChosenFile& file);

// The child frame around a view: what the user sees as the window.
QWidget* frameOf(QWidget* view);

// Runs the Save command of one window.  The two questions are replaceable,
// so tests answer them without a modal dialog; saveData does the "Data" part.
class WindowSaver : public QObject {
    Q_OBJECT
  public:
    using AskChoice = std::function<std::optional<SaveChoice>(QWidget* parent)>;
    using AskFile =
        std::function<std::optional<ChosenFile>(QWidget* parent, const SaveFileQuestion&)>;
    using SaveData = std::function<void(const SaveChoice&)>;

    // The picture shows the frame around `view`, looked up when it is taken.
    explicit WindowSaver(QWidget* view, QStringList channels = {}, SaveData dataSaver = {});

    void run();
    // Asks for a file with askFile and resolves the answer against the
    // question's filters (resolveChosenFile).
    std::optional<ChosenFile> chooseFile(const SaveFileQuestion& question);
    // Takes the picture now and writes it (what the timer does).
    void takePicture();

    AskChoice askChoice;
    AskFile askFile;
    SaveData saveData;
    QTimer& pictureTimer() { return pictureTimer_; }

  private:
    QWidget* view_;
    QTimer pictureTimer_;
    QString picturePath_;
    PictureFormat pictureFormat_ = PictureFormat::Bitmap;
};

}  // namespace oscilane
