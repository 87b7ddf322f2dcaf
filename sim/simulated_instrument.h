// An instrument and its protocol responder behind one lock, so a server
// thread can serve it while a test or the command line inspects it.
#pragma once

#include <mutex>
#include <span>
#include <vector>

#include "instrument.h"
#include "reply_source.h"
#include "responder.h"

namespace zelvo::sim {

class SimulatedInstrument final : public ReplySource {
  public:
    explicit SimulatedInstrument(Identity identity = {}, InputSignals signals = {})
        : instrument_(std::move(identity), signals), responder_(instrument_) {}

    std::vector<Reply> handle(std::span<const uint8_t> bytes) override {
        std::lock_guard lock(mutex_);
        return responder_.handle(bytes);
    }
    void setFaults(const Faults& faults) {
        std::lock_guard lock(mutex_);
        responder_.setFaults(faults);
    }
    // Runs f(instrument, responder) under the lock and returns its result.
    template <class F>
    auto inspect(F&& f) {
        std::lock_guard lock(mutex_);
        return f(instrument_, responder_);
    }

  private:
    std::mutex mutex_;
    Instrument instrument_;
    Responder responder_;
};

}  // namespace zelvo::sim
