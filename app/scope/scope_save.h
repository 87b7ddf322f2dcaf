// The scope window's Save command: the "Save" dialog (data of one trace, or a
// picture of the window), the save-file dialog, and the writing.  Data files
// read the displayed block; the picture is taken by a 1 ms one-shot timer, so
// the dialogs are gone from the window before it is grabbed.
#pragma once

#include <QDialog>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <optional>

#include "model/waveform_file.h"
#include "shell/bitmap_file.h"

class QButtonGroup;
class QListWidget;
class QRadioButton;

namespace oscilane {

class CommandMap;
class ScopeLinkState;
struct ScopeData;

struct SaveChoice {
    bool picture = false;
    int channel = 0;  // 0 CH1, 1 CH2, 2 MATH
};

// The "Save" dialog: "Data" (set at first) or "Picture", and the channel
// list (CH1 at first), which "Picture" disables.
class SaveDialog : public QDialog {
    Q_OBJECT
  public:
    explicit SaveDialog(QWidget* parent = nullptr);
    SaveChoice choice() const;
    QRadioButton* dataButton() const { return data_; }
    QRadioButton* pictureButton() const { return picture_; }
    QListWidget* channelList() const { return channels_; }

  private:
    QRadioButton* data_;
    QRadioButton* picture_;
    QListWidget* channels_;
};

// What a save-file dialog asks with.
struct SaveFileQuestion {
    QString title;
    QStringList filters;
    QString defaultSuffix;
};
SaveFileQuestion dataFileQuestion();
SaveFileQuestion pictureFileQuestion();

struct ChosenFile {
    QString path;
    QString filter;  // the name filter the user left selected
};

// The data file's format for a chosen file: CSV for the CSV filter or a
// ".csv" name, the text layout for every other choice.
WaveformFileFormat dataFormatFor(const ChosenFile& file);

// Writes one trace of the block; a failure is shown as "Cann't save file: ..."
// (or says that an off channel has no CSV) and returns false.
bool saveTraceFile(const SettingBlock& block, int channel, const ChosenFile& file);

// Runs the Save command of one scope window.  The two questions are
// replaceable, so tests answer them without a modal dialog.
class ScopeSaver : public QObject {
    Q_OBJECT
  public:
    using AskChoice = std::function<std::optional<SaveChoice>(QWidget* parent)>;
    using AskFile =
        std::function<std::optional<ChosenFile>(QWidget* parent, const SaveFileQuestion&)>;

    // `frame` gives the window to picture, looked up when the picture is taken.
    ScopeSaver(QWidget* view, const ScopeData& data, std::function<QWidget*()> frame);

    void run();
    // Takes the picture now and writes it (what the timer does).
    void takePicture();

    AskChoice askChoice;
    AskFile askFile;
    QTimer& pictureTimer() { return pictureTimer_; }

  private:
    QWidget* view_;
    const ScopeData& data_;
    std::function<QWidget*()> frame_;
    QTimer pictureTimer_;
    QString picturePath_;
    PictureFormat pictureFormat_ = PictureFormat::Bitmap;
};

// Puts the Save command (32790) into a scope view's commands, enabled only
// while connected.
ScopeSaver* installScopeSave(QWidget* view, CommandMap& commands, const ScopeData& data,
                             const ScopeLinkState& state);

}  // namespace oscilane
