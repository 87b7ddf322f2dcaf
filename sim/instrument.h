// The simulated instrument's state machine: set commands change it, gets and
// block reads report it.  Free of I/O; the servers feed it requests.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "blocks.h"
#include "input_signals.h"
#include "meter_model.h"
#include "scope_acquisition.h"
#include "scope_state.h"

namespace zelvo::sim {

struct GeneratorState {
    uint32_t divider = 0;
    uint8_t syncOutput = 0;
    uint8_t power = 0;
    std::vector<uint16_t> samples;
};

class Instrument {
  public:
    explicit Instrument(Identity identity = {}, InputSignals signals = {});

    // True when the instrument accepts the command (it then acknowledges with 132).
    bool applySet(uint32_t code, uint32_t value);
    uint32_t answerGet(uint32_t code) const;
    // The block's bytes as sent; none for a block code or length the instrument does not serve.
    std::optional<std::vector<uint8_t>> readBlock(uint32_t block, uint32_t length);
    bool acceptsWrite(uint32_t block, uint32_t length) const;
    void completeWrite(uint32_t block, const std::vector<uint8_t>& data);

    const ScopeState& scope() const { return scope_; }
    const MeterState& meter() const { return meter_.state(); }
    MeterInputs& meterInputs() { return meter_.inputs(); }
    InputSignals& signals() { return signals_; }
    const GeneratorState& generator() const { return generator_; }
    const Identity& identity() const { return identity_; }
    // The last value set with a command code, for codes that are only stored.
    std::optional<uint32_t> lastSetValue(uint32_t code) const;

  private:
    void applyScopeSet(uint32_t code, uint32_t value);
    bool applyMeterSet(uint32_t code, uint32_t value);
    void autoSetup();
    void setTriggerLevelTo50(int selector);
    std::vector<uint8_t> rawSamples(int first, int second, std::size_t length) const;

    Identity identity_;
    InputSignals signals_;
    ScopeState scope_;
    ScopeAcquisition acquisition_;
    MeterModel meter_;
    GeneratorState generator_;
    std::map<uint32_t, uint32_t> lastSet_;
};

}  // namespace zelvo::sim
