#include "setup_verb.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <string>

#include "model/scope_setup_file.h"
#include "zelvo/command_codes.h"

namespace zelvo::cli {
namespace {

using oscilane::SetupKind;

struct SetupOptions {
    std::string action;
    std::string file;
};

int failed(const std::string& text, int status = kExitInstrumentFailed) {
    std::fflush(stdout);
    std::fprintf(stderr, "zelvo: %s\n", text.c_str());
    return status;
}

// The library's selector of a trigger record: 255 the main trigger, then
// the two ALT channels.
int32_t triggerSelector(int record) { return record == 0 ? kMainTriggerSelector : record - 1; }

class LibraryPort final : public oscilane::SetupPort {
  public:
    explicit LibraryPort(DeviceHandle h) : h_(h) {}
    bool send(const oscilane::SetupChange& change) override { return sendSetupChange(h_, change); }
    bool upload(oscilane::SettingBlock& block) override {
        return DSOUploadSetting(h_, block.data()) == 0;
    }

  private:
    DeviceHandle h_;
};

int save(const Instrument& instrument, const std::string& file) {
    oscilane::SettingBlock block{};
    if (DSOUploadSetting(instrument.handle(), block.data()) != 0) return failed(kUploadFailed);
    if (const auto unsaved = oscilane::SaveSetupFile(oscilane::ReadSetup(block), file))
        return failed("cannot save " + file + ": " + *unsaved);
    std::printf("setup saved to %s\n", file.c_str());
    return kExitSuccess;
}

int load(const Instrument& instrument, const oscilane::SetupValues& saved,
         const std::string& file) {
    const auto recalled = recallInstrumentSetup(instrument.handle(), saved);
    if (!recalled || !recalled->uploaded) return failed(kUploadFailed);
    const oscilane::SetupRecallResult& r = *recalled;
    for (const oscilane::SetupMiss& miss : r.missed)
        std::printf("not taken: %s\n", miss.text().c_str());
    std::printf("%s recalled: %d setting commands, %zu settings did not take\n", file.c_str(),
                r.commandsSent, r.missed.size());
    std::fflush(stdout);
    return r.ok() ? kExitSuccess : kExitInstrumentFailed;
}

int run(const InstrumentOptions& instrumentOptions, const SetupOptions& options) {
    // A file to recall is read whole before the instrument is opened, so a
    // refused one sends nothing.
    oscilane::SetupParse loaded;
    if (options.action == "load") {
        loaded = oscilane::LoadSetupFile(options.file);
        if (!loaded.values)
            return failed(options.file + " is refused: " + loaded.refusal.text(), kExitRefusedFile);
    }
    std::string failure;
    const auto instrument = Instrument::open(instrumentOptions.target(), &failure);
    if (!instrument) return failed(failure);
    return loaded.values ? load(*instrument, *loaded.values, options.file)
                         : save(*instrument, options.file);
}

}  // namespace

std::optional<oscilane::SetupRecallResult> recallInstrumentSetup(
    DeviceHandle h, const oscilane::SetupValues& saved) {
    oscilane::SettingBlock block{};
    if (DSOUploadSetting(h, block.data()) != 0) return std::nullopt;
    LibraryPort port(h);
    return oscilane::RecallSetup(saved, oscilane::ReadSetup(block), port, block);
}

bool sendSetupChange(DeviceHandle h, const oscilane::SetupChange& change) {
    const int i = change.setting().index;
    const auto v = static_cast<int32_t>(change.value);
    const auto byte = static_cast<uint8_t>(change.value);
    const auto lever = static_cast<uint16_t>(change.value);
    int result = 1;
    switch (change.setting().kind) {
        case SetupKind::Shown:
            result = DSOSetCHEnable(h, i, v);
            break;
        case SetupKind::VoltsIndex:
            result = DSOSetVOLTDIV(h, i, v);
            break;
        case SetupKind::Coupling:
            result = DSOSetCoupling(h, i, v);
            break;
        case SetupKind::Probe:
            result = DSOSetProbe(h, i, v);
            break;
        case SetupKind::Position:
            result = DSOSetChannelLeverPos(h, i, lever);
            break;
        case SetupKind::Invert:
            result = DSOSetInvert(h, i, v);
            break;
        case SetupKind::BwLimit20M:
            result = DSOSetBWLimit(h, i, v);
            break;
        case SetupKind::Bw100M:
            result = DSOSetBW100M(h, i, v);
            break;
        case SetupKind::VoltsStep:
            result = DSOSetCoarseOrFine(h, i, v);
            break;
        case SetupKind::TriggerLevel:
            result = DSOSetVTriggerLeverPos(h, i, lever);
            break;
        case SetupKind::AltTimeBase:  // selector 0 or 1, the ALT channel
            result = DSOSetTimeBase(h, i, v);
            break;
        case SetupKind::TimeBase:
            result = DSOSetTimeBase(h, 0, v);
            break;
        case SetupKind::HorizontalTrigger:
            result = DSOSetHTriggerPos(h, 0, lever);
            break;
        case SetupKind::TriggerMode:
            result = DSOSetTriggerMode(h, byte);
            break;
        case SetupKind::TriggerSource:
            result = DSOSetTriggerSource(h, byte);
            break;
        case SetupKind::Sweep:
            result = DSOSetTriggerSweep(h, byte);
            break;
        case SetupKind::EdgeSlope:
            result = DSOSetTriggerSlope(h, triggerSelector(i), v);
            break;
        case SetupKind::PulseCondition:
            result = DSOSetPulseTriggerCondition(h, triggerSelector(i), v);
            break;
        case SetupKind::PulseWidth:
            result = DSOSetPulseTriggerTime(h, triggerSelector(i), static_cast<uint32_t>(v));
            break;
        case SetupKind::HfReject:
            result = DSOSetTriggerHFReject(h, triggerSelector(i), v);
            break;
        case SetupKind::AltType:
            result = DSOSetALTTrigType(h, i, v);
            break;
        case SetupKind::MathOperator:
            result = DSOSetMathOperator(h, byte);
            break;
        case SetupKind::MathSource:
            result = DSOSetMathSource(h, static_cast<uint8_t>(i), byte);
            break;
        case SetupKind::FftSource:
            result = DSOSetFFTSource(h, byte);
            break;
        case SetupKind::FftWindow:
            result = DSOSetFFTWindow(h, byte);
            break;
        case SetupKind::FftScale:
            result = DSOSetFFTScale(h, byte);
            break;
        case SetupKind::Format:
            result = DSOSetFormat(h, byte);
            break;
        case SetupKind::Running:  // status 0 runs
            result = DSOSetStatus(h, change.value != 0 ? 0 : 1);
            break;
    }
    return result == 0;
}

void addSetupVerb(CLI::App& parser, VerbTable& verbs, InstrumentOptions& instrument) {
    static SetupOptions options;
    CLI::App& verb = verbs.add(
        parser, "setup",
        "'save FILE' writes the instrument's scope settings as a setup file (one 'name = value' "
        "line each); 'load FILE' sends one setting command per setting that differs, uploads "
        "once and prints each setting that did not take (exit 1).  A file with an unknown "
        "name, a value out of range or a broken line is refused before anything is sent "
        "(exit 2).",
        [&instrument] { return run(instrument, options); });
    instrument.addTo(verb);
    verb.add_option("ACTION", options.action, "save or load")
        ->required()
        ->check(CLI::IsMember({"save", "load"}));
    verb.add_option("FILE", options.file, "the setup file")->required();
}

}  // namespace zelvo::cli
