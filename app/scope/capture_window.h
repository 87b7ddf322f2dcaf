// A scope window over a capture file instead of an instrument: the file's
// traces in a stopped block (model/capture_block.h) that the display,
// measurements, cursors, Save and the report read as they read an upload.
// The panel's volts/div, probe, position and time/div lists rescale the
// capture; no other command has anywhere to go, and nothing is ever sent.
#pragma once

#include <QObject>
#include <QString>
#include <optional>

#include "device/auto_reset_event.h"
#include "device/command_sink.h"
#include "model/capture_block.h"
#include "scope/scope_data.h"
#include "scope/scope_link_state.h"

class QWidget;

namespace oscilane {

class Document;
class OscilaneApp;

class CaptureSource final : public QObject, public CommandSink, public ScopeLinkState {
    Q_OBJECT
  public:
    explicit CaptureSource(Capture capture, QObject* parent = nullptr);

    ScopeLink link() { return ScopeLink{*this, data_, event_, *this}; }
    const Capture& capture() const { return capture_; }
    const CaptureScales& scales() const { return scales_; }
    // Every command a capture window's controls post; how many there were.
    int commandsPosted() const { return posted_; }

    // The window always has a (stopped) block to show, and no instrument.
    bool connected() const override { return true; }
    bool hasInstrument() const override { return false; }
    bool deviceRemoved() const override { return false; }
    bool slowUpload() const override { return false; }
    int uploadPercent() const override { return 0; }
    void watchSlowUpload() override {}
    bool newData() const override { return newData_; }
    void clearNewData() override { newData_ = false; }

    // Applies a scale change of the panel to the capture.
    void Post(QueuedCommand command) override;

  private:
    void rebuild();

    Capture capture_;
    CaptureScales scales_;
    ScopeData data_;
    AutoResetEvent event_{true};
    bool newData_ = true;
    int posted_ = 0;
};

// The view of a capture window for a document (the source becomes the view's).
QWidget* createCaptureView(Document& document, Capture capture);

// The one line shown for a file that is not a capture:
// "Cann't open file: NAME: line N: reason".
QString cannotOpenCaptureText(const QString& path, const CaptureReadError& error);

// Reads the file and opens it in a window of its own titled with the file's
// name; a file that is not a capture is refused with one message
// ("Cann't open file: ..." with the reason and the line) and opens nothing.
Document* openCaptureFile(OscilaneApp& app, const QString& path);

// The open-file question of "Open Capture...": none when cancelled.
std::optional<QString> askCaptureFile(QWidget* parent);

}  // namespace oscilane
