// What every instrument window (scope, meter, generator) adds to its view:
// the document's device connection with its worker, and the window commands
// Connect, Disconnect and Option.
//
// A view holds one InstrumentWindow as a member.  Creating it starts the
// document's worker (parked) for the window's function; destroying it, as
// the frame goes, disconnects and ends the worker between two cycles.
#pragma once

#include <functional>

#include "device/device_link.h"

class QWidget;

namespace oscilane {

class CommandMap;
class Document;

// The connection a document embeds; created with the document's first use
// and destroyed with the document.
CDeviceLink& deviceLinkOf(Document& document);

class InstrumentWindow {
  public:
    InstrumentWindow(QWidget& view, CommandMap& commands, Document& document,
                     DeviceFunction function);
    ~InstrumentWindow();
    InstrumentWindow(const InstrumentWindow&) = delete;
    InstrumentWindow& operator=(const InstrumentWindow&) = delete;

    CDeviceLink& link() { return link_; }

    // The window commands; true when they changed the link.
    bool connect();
    bool disconnect();
    // Opens the Option dialog on a copy of the settings, applied on OK.
    void openOptions();

    // Called after a successful Connect, on the GUI thread (the scope window
    // refreshes its controller panel here).
    void setOnConnected(std::function<void()> handler) { onConnected_ = std::move(handler); }

  private:
    QWidget& view_;
    Document& document_;
    CDeviceLink& link_;
    DeviceFunction function_;
    std::function<void()> onConnected_;
};

}  // namespace oscilane
