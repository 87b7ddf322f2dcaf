// The meter window's view: the drawn display (scrolled when the window is
// smaller than it), the "DMM Controller" bar the frame docks beside it, the
// sampling and log-writer threads, and the 100 ms tick that refreshes the
// bar, runs the sampling clock and repaints.  The threads live as long as
// the view: started with it, stopped and joined when it goes, after what
// was sampled for the log has been handed to the writer.
#pragma once

#include <QPointer>
#include <QScrollArea>
#include <QTimer>
#include <memory>

#include "meter/meter_controller.h"
#include "meter/meter_display.h"
#include "shell/command_map.h"

namespace oscilane {

class CDeviceLink;
class Document;
class ReportCommands;
class WindowSaver;
class MeterData;
class MeterSession;
class MeterThreads;

class MeterView : public QScrollArea, public CommandTarget {
    Q_OBJECT
  public:
    MeterView(Document& document, CDeviceLink& link, MeterSession& session);
    ~MeterView() override;

    Document& document() const { return document_; }
    MeterData& data() const;
    MeterDisplay& display() const { return *display_; }
    // The controller bar; the frame docks it beside the view.
    MeterController* controller() const { return controller_; }

    // One 100 ms tick: refresh the bar while connected, run the sampling
    // clock while connected with a good link, repaint.
    void tick();
    MeterPicture picture() const;

    // The Save command ("Data" is saveData, "Picture" the window's picture)
    // and the report's Print, Print Preview, Print Setup and Export PDF.
    WindowSaver& saver() const { return *saver_; }
    ReportCommands& report() const { return *report_; }

    // "Data": in buffer mode the trend goes to a file the user picks with
    // the saver's file question (log lines, or CSV: see writesCsv); in
    // storage mode the buffer being filled is handed to the log writer.
    void saveData();
    // After a successful Disconnect: the log catches up with the readings.
    void disconnected();
    // Stops sampling and writes what the log still holds; the view's end
    // does this too.
    void stopThreads();

    QSize sizeHint() const override { return MeterDisplay::kMinimumSize; }

  private:
    Document& document_;
    CDeviceLink& link_;
    MeterSession& session_;
    std::unique_ptr<MeterThreads> threads_;
    MeterDisplay* display_;
    QPointer<MeterController> controller_;
    WindowSaver* saver_;
    ReportCommands* report_;
    QTimer timer_;
};

// Creates the meter window's view with its session, connection and commands.
QWidget* createMeterView(Document& document);

}  // namespace oscilane
