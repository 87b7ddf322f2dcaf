// zelvo setup save FILE / zelvo setup load FILE: the instrument's scope setup
// as the setup file, saved from one upload, or recalled through the model's
// RecallSetup with one library call per setting that differs.
#pragma once

#include <optional>

#include "instrument_target.h"
#include "model/scope_setup_recall.h"
#include "verbs.h"

namespace zelvo::cli {

// A refused setup file exits with this, as a usage error does: nothing was sent.
inline constexpr int kExitRefusedFile = kExitUsage;

// Sends one setting of a setup as its library call; true when the
// instrument acknowledged it.
bool sendSetupChange(DeviceHandle h, const oscilane::SetupChange& change);

// Recalls a setup into the instrument: uploads its present state, sends one
// library call per setting that differs, uploads once more and compares.
// None when the present state could not be uploaded.
std::optional<oscilane::SetupRecallResult> recallInstrumentSetup(
    DeviceHandle h, const oscilane::SetupValues& saved);

// Adds the verb; its instrument options are the shared ones.
void addSetupVerb(CLI::App& parser, VerbTable& verbs, InstrumentOptions& instrument);

}  // namespace zelvo::cli
