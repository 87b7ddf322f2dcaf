// What every instrument window (scope, meter, generator) adds to its view:
// the document's device connection with its worker, and the window commands
// Connect, Disconnect and Option.
//
// An InstrumentWindow is a child object of its view.  Creating it starts the
// document's worker (parked) for the window's function; destroying it, as
// the view and its frame go, disconnects and ends the worker between two
// cycles.
#pragma once

#include <QObject>
#include <functional>

#include "device/device_link.h"

class QWidget;

namespace oscilane {

class CommandMap;
class Document;

// The connection a document embeds; created with the document's first use
// and destroyed with the document.
CDeviceLink& deviceLinkOf(Document& document);

class InstrumentWindow : public QObject {
    Q_OBJECT
  public:
    // The document's connection must hold the window's session already.
    InstrumentWindow(QWidget& view, CommandMap& commands, Document& document);
    ~InstrumentWindow() override;
    // The instrument window of a view, if it has one.
    static InstrumentWindow* of(QWidget& view);
    InstrumentWindow(const InstrumentWindow&) = delete;
    InstrumentWindow& operator=(const InstrumentWindow&) = delete;

    CDeviceLink& link() { return link_; }

    // The window commands; true when they changed the link.
    bool connect();
    bool disconnect();
    // Opens the Option dialog on a copy of the settings, applied on OK.
    void openOptions();
    // Tests the instrument of the settings and connects to it, as the Option
    // dialog and the Connect command would; false after telling the user why not.
    bool connectTo(LinkSettings settings);

    // Called after a successful Connect, on the GUI thread (the scope window
    // refreshes its controller panel here).
    void setOnConnected(std::function<void()> handler) { onConnected_ = std::move(handler); }

  private:
    QWidget& view_;
    Document& document_;
    CDeviceLink& link_;
    std::function<void()> onConnected_;
};

}  // namespace oscilane
