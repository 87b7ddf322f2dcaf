// The generator window's view: the display with its editor, the controller
// bar it hands to the frame, the wave-type, grid, best-fit, zoom, Save and
// Open CSV commands, and the 100 ms timer that repaints the display (its
// first tick lays the display out).
#pragma once

#include <QImage>
#include <QPointer>
#include <QScrollArea>
#include <QTimer>
#include <functional>

#include "device/command_sink.h"
#include "model/generator_wave.h"
#include "shell/command_map.h"
#include "shell/window_save.h"

namespace oscilane {

class DdsController;
class Document;
class EditPointDialog;
class GeneratorScreen;
class ReportCommands;

// Asks the user for a CSV file to open; an empty text when the dialog was
// cancelled.  Tests put their own answer here.  The file to save is asked
// through saver().askFile.
using OpenCsvDialog = std::function<QString(QWidget* parent)>;
OpenCsvDialog standardOpenCsvDialog();
// The save-file question of "Data": the CSV filter and its extension.
SaveFileQuestion csvFileQuestion();

class GeneratorView : public QScrollArea, public CommandTarget {
    Q_OBJECT
  public:
    static constexpr QSize kFormSize{680, 500};

    GeneratorView(Document& document, GeneratorWave& wave, CommandSink& commands,
                  std::function<bool()> connected);

    Document& document() const { return document_; }
    GeneratorScreen& screen() const { return *screen_; }
    // The "DDS Controller" bar's contents; the frame docks them.
    DdsController* controller() const { return controller_; }
    EditPointDialog* editPointDialog() const;
    void setOpenDialog(OpenCsvDialog dialog) { openDialog_ = std::move(dialog); }

    // The Save command ("Data" writes the CSV file, "Picture" the window's
    // picture) and the report's Print, Print Preview, Print Setup and Export PDF.
    WindowSaver& saver() const { return *saver_; }
    ReportCommands& report() const { return *report_; }
    // The plot as the display shows it, for the report.
    QImage plotPicture() const;

    // Loads a generator CSV file into the buffer (after asking before hand
    // edits are replaced); a file that does not load is shown and changes nothing.
    bool loadCsvFile(const QString& path);

    // One timer tick: the first lays the display out; each repaints it.
    void tick();
    // Opens "Edit Point" on a sample (a double click on the plot does).
    void openEditPoint(int index);

  private:
    void addCommands();
    void saveData();
    void openCsv();

    Document& document_;
    GeneratorWave& wave_;
    CommandSink& commands_;
    GeneratorScreen* screen_;
    DdsController* controller_;
    QPointer<EditPointDialog> editPoint_;
    OpenCsvDialog openDialog_;
    WindowSaver* saver_ = nullptr;
    ReportCommands* report_ = nullptr;
    QTimer timer_;
    bool laidOut_ = false;
};

}  // namespace oscilane
