// An open instrument as Python sees it: one link of the link library, in a
// slot of its own so instruments in different threads run at once.  Every
// request is one call of the library, made without the interpreter's lock.
#pragma once

#include <pybind11/pybind11.h>

#include <memory>
#include <mutex>
#include <string>

#include "instrument_target.h"
#include "model/setting_block.h"

namespace zelvo::python {

// What every request of a closed instrument raises.
inline constexpr const char* kClosedText = "the instrument is closed";

class Instrument {
  public:
    // Opens the instrument named as --connect takes it; throws UsageError for
    // a bad name or baud rate and LinkError when it does not answer.
    Instrument(const std::string& name, unsigned baud);
    ~Instrument();
    Instrument(const Instrument&) = delete;
    Instrument& operator=(const Instrument&) = delete;

    // Closes the link; closing again does nothing.
    void close();
    bool closed() const;
    const std::string& name() const { return name_; }

    // Runs request(handle) on the open link with the interpreter unlocked and
    // no other request of this instrument running.
    template <class Request>
    auto request(Request&& run) {
        pybind11::gil_scoped_release unlocked;
        return onLink(std::forward<Request>(run));
    }
    // The same for a caller that has released the interpreter's lock itself.
    template <class Request>
    auto onLink(Request&& run) {
        std::lock_guard hold(mutex_);
        if (!link_) throwClosed();
        return run(link_->handle());
    }

    // One upload of the whole scope state.
    std::shared_ptr<const oscilane::SettingBlock> upload();
    // One meter record, decoded on top of the previous one (the decoder
    // writes some fields only in some modes, as the meter window sees them).
    DmmInfo readMeter();

  private:
    [[noreturn]] static void throwClosed();

    std::string name_;
    uint32_t linkKind_ = 0;
    uint32_t slot_ = 0;
    mutable std::mutex mutex_;
    std::unique_ptr<cli::Instrument> link_;
    DmmInfo meterRecord_{};
};

// Adds open(), Instrument and what its requests return to the module.
void addInstrument(pybind11::module_& module);

}  // namespace zelvo::python
