#include "model/scope_setup_recall.h"

#include "model/scope_settings.h"

namespace oscilane {
namespace {

using K = SetupKind;

// Which trigger modes set a setting.
enum class ModeNeed { Any, Alt, NotAlt };

ModeNeed modeNeed(const SetupSetting& s) {
    switch (s.kind) {
        case K::TimeBase:
            return ModeNeed::NotAlt;
        case K::AltTimeBase:  // CH1's shares its command with the common time base
            return s.index == kCh1 ? ModeNeed::Alt : ModeNeed::Any;
        case K::PulseWidth:  // one selector bit: the main record outside ALT mode
            return s.index == 0 ? ModeNeed::NotAlt : ModeNeed::Alt;
        default:
            return ModeNeed::Any;
    }
}

bool isAlt(int64_t mode) { return mode == static_cast<int>(TriggerMode::Alt); }
bool takes(ModeNeed need, int64_t mode) {
    return need == ModeNeed::Any || (need == ModeNeed::Alt) == isAlt(mode);
}

std::size_t placeOfKind(K kind) {
    for (std::size_t i = 0; i < kSetupSettings.size(); ++i)
        if (kSetupSettings[i].kind == kind) return i;
    return 0;
}

}  // namespace

std::vector<SetupChange> PlanSetup(const SetupValues& saved, const SetupValues& present) {
    const std::size_t modePlace = placeOfKind(K::TriggerMode);
    const int64_t savedMode = saved[modePlace];
    int64_t mode = present[modePlace];

    std::vector<SetupChange> plan;
    std::vector<std::size_t> modal;  // differing settings that need a kind of mode
    std::vector<std::size_t> last;   // the sweep, then run/stop, as the table lists them
    std::vector<std::size_t> free;
    for (std::size_t i = 0; i < kSetupSettings.size(); ++i) {
        if (i == modePlace || saved[i] == present[i]) continue;
        const K kind = kSetupSettings[i].kind;
        if (kind == K::Sweep || kind == K::Running)
            last.push_back(i);
        else if (modeNeed(kSetupSettings[i]) != ModeNeed::Any)
            modal.push_back(i);
        else
            free.push_back(i);
    }
    const auto setMode = [&](int64_t to) {
        if (to == mode) return;
        plan.push_back({modePlace, to});
        mode = to;
    };
    const auto sendModal = [&] {
        for (std::size_t i : modal)
            if (takes(modeNeed(kSetupSettings[i]), mode)) plan.push_back({i, saved[i]});
        std::erase_if(modal,
                      [&](std::size_t i) { return takes(modeNeed(kSetupSettings[i]), mode); });
    };

    sendModal();  // what the present mode takes
    if (!modal.empty()) {
        // The rest needs the other kind of mode: the saved one if it is of
        // that kind, otherwise Edge or ALT on the way.
        const int64_t other =
            isAlt(mode) ? static_cast<int>(TriggerMode::Edge) : static_cast<int>(TriggerMode::Alt);
        setMode(isAlt(savedMode) != isAlt(mode) ? savedMode : other);
        sendModal();
    }
    setMode(savedMode);
    for (std::size_t i : free) plan.push_back({i, saved[i]});
    for (std::size_t i : last) plan.push_back({i, saved[i]});
    return plan;
}

std::string SetupMiss::text() const {
    return std::string(kSetupSettings[place].name) + ": saved " + std::to_string(saved) +
           ", the instrument has " + std::to_string(found);
}

SetupRecallResult RecallSetup(const SetupValues& saved, const SetupValues& present, SetupPort& port,
                              SettingBlock& block) {
    SetupRecallResult result;
    for (const SetupChange& change : PlanSetup(saved, present)) {
        if (!port.send(change)) ++result.commandsRefused;
        ++result.commandsSent;
    }
    result.uploaded = port.upload(block);
    if (!result.uploaded) return result;
    const SetupValues now = ReadSetup(block);
    for (std::size_t i = 0; i < kSetupSettings.size(); ++i)
        if (now[i] != saved[i]) result.missed.push_back({i, saved[i], now[i]});
    return result;
}

}  // namespace oscilane
