// What the scope window needs from its device connection besides the data
// area and the command sink: the state flags the worker thread keeps.  The
// connection object implements it; tests use a plain fake.
#pragma once

#include "device/auto_reset_event.h"
#include "device/command_sink.h"
#include "scope/scope_data.h"

namespace oscilane {

class ScopeLinkState {
  public:
    virtual ~ScopeLinkState() = default;
    virtual bool connected() const = 0;
    // Whether the data comes from an instrument; a window over a saved
    // capture has data to show but nothing connected.
    virtual bool hasInstrument() const { return true; }
    // The link check failed: the instrument was unplugged or stopped answering.
    virtual bool deviceRemoved() const = 0;
    // An upload over a slow line is under way.
    virtual bool slowUpload() const = 0;
    // How far the running slow upload has come, 0..100.
    virtual int uploadPercent() const = 0;
    // Stops a slow upload that no longer moves (called at every tick while one runs).
    virtual void watchSlowUpload() = 0;
    // The worker finished an upload attempt since the window last copied one.
    virtual bool newData() const = 0;
    virtual void clearNewData() = 0;
};

// Everything of one device connection that the scope window's parts use.
struct ScopeLink {
    CommandSink& commands;
    ScopeData& data;
    AutoResetEvent& event;
    ScopeLinkState& state;
};

}  // namespace oscilane
