// The setup file: every scope setting the setting block reports and a setting
// command can change, one "name = value" line each under a first line naming
// the format and its version.  A setup is read from a block, written as text,
// and read back only when the whole text is sound: an unknown name, a value
// outside its setting's range, a setting given twice or missing, or a line
// that is not "name = value" refuses the file with the line and the reason.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "model/scope_settings.h"
#include "model/setting_block.h"

namespace oscilane {

// What a setting is; `index` in SetupSetting says whose it is.
enum class SetupKind : uint8_t {
    Shown,         // channel 0..3
    VoltsIndex,    // channel 0..3
    Coupling,      // CH1, CH2
    Probe,         // CH1, CH2, MATH
    Position,      // channel 0..3
    Invert,        // CH1, CH2, MATH
    BwLimit20M,    // CH1, CH2
    Bw100M,        // CH1, CH2
    VoltsStep,     // CH1, CH2, MATH: 0 coarse, 1 fine
    TriggerLevel,  // CH1, CH2
    AltTimeBase,   // CH1, CH2: the time base in ALT trigger mode
    TimeBase,      // outside ALT trigger mode
    HorizontalTrigger,
    TriggerMode,
    TriggerSource,
    Sweep,
    EdgeSlope,       // trigger record 0 main, 1 and 2 the ALT channels
    PulseCondition,  // trigger record
    PulseWidth,      // trigger record, units of 5 ns
    HfReject,        // trigger record
    AltType,         // ALT channel 0, 1
    MathOperator,
    MathSource,  // operand 0 (A), 1 (B)
    FftSource,
    FftWindow,
    FftScale,
    Format,
    Running,  // 1 while acquiring
};

struct SetupSetting {
    SetupKind kind;
    int index;  // channel, trigger record, ALT channel or operand; 0 where there is one
    const char* name;
};

// Every setting of a setup, in the order of the file.
inline constexpr std::size_t kSetupSettingCount = 58;
inline constexpr std::array<SetupSetting, kSetupSettingCount> kSetupSettings = {{
    {SetupKind::Shown, kCh1, "CH1.shown"},
    {SetupKind::VoltsIndex, kCh1, "CH1.voltsIndex"},
    {SetupKind::Coupling, kCh1, "CH1.coupling"},
    {SetupKind::Probe, kCh1, "CH1.probe"},
    {SetupKind::Position, kCh1, "CH1.position"},
    {SetupKind::Invert, kCh1, "CH1.invert"},
    {SetupKind::BwLimit20M, kCh1, "CH1.bwLimit20M"},
    {SetupKind::Bw100M, kCh1, "CH1.bw100M"},
    {SetupKind::VoltsStep, kCh1, "CH1.voltsStep"},
    {SetupKind::TriggerLevel, kCh1, "CH1.triggerLevel"},
    {SetupKind::AltTimeBase, kCh1, "CH1.altTimeBase"},
    {SetupKind::Shown, kCh2, "CH2.shown"},
    {SetupKind::VoltsIndex, kCh2, "CH2.voltsIndex"},
    {SetupKind::Coupling, kCh2, "CH2.coupling"},
    {SetupKind::Probe, kCh2, "CH2.probe"},
    {SetupKind::Position, kCh2, "CH2.position"},
    {SetupKind::Invert, kCh2, "CH2.invert"},
    {SetupKind::BwLimit20M, kCh2, "CH2.bwLimit20M"},
    {SetupKind::Bw100M, kCh2, "CH2.bw100M"},
    {SetupKind::VoltsStep, kCh2, "CH2.voltsStep"},
    {SetupKind::TriggerLevel, kCh2, "CH2.triggerLevel"},
    {SetupKind::AltTimeBase, kCh2, "CH2.altTimeBase"},
    {SetupKind::Shown, kMath, "MATH.shown"},
    {SetupKind::VoltsIndex, kMath, "MATH.voltsIndex"},
    {SetupKind::Probe, kMath, "MATH.probe"},
    {SetupKind::Position, kMath, "MATH.position"},
    {SetupKind::Invert, kMath, "MATH.invert"},
    {SetupKind::VoltsStep, kMath, "MATH.voltsStep"},
    {SetupKind::MathOperator, 0, "MATH.operator"},
    {SetupKind::MathSource, 0, "MATH.sourceA"},
    {SetupKind::MathSource, 1, "MATH.sourceB"},
    {SetupKind::FftSource, 0, "MATH.fftSource"},
    {SetupKind::FftWindow, 0, "MATH.fftWindow"},
    {SetupKind::FftScale, 0, "MATH.fftScale"},
    {SetupKind::Shown, kRef, "REF.shown"},
    {SetupKind::VoltsIndex, kRef, "REF.voltsIndex"},
    {SetupKind::Position, kRef, "REF.position"},
    {SetupKind::TimeBase, 0, "timeBase"},
    {SetupKind::HorizontalTrigger, 0, "horizontalTrigger"},
    {SetupKind::TriggerMode, 0, "trigger.mode"},
    {SetupKind::TriggerSource, 0, "trigger.source"},
    {SetupKind::Sweep, 0, "trigger.sweep"},
    {SetupKind::EdgeSlope, 0, "trigger.edgeSlope"},
    {SetupKind::PulseCondition, 0, "trigger.pulseCondition"},
    {SetupKind::PulseWidth, 0, "trigger.pulseWidth5ns"},
    {SetupKind::HfReject, 0, "trigger.hfReject"},
    {SetupKind::AltType, 0, "ALT1.type"},
    {SetupKind::EdgeSlope, 1, "ALT1.edgeSlope"},
    {SetupKind::PulseCondition, 1, "ALT1.pulseCondition"},
    {SetupKind::PulseWidth, 1, "ALT1.pulseWidth5ns"},
    {SetupKind::HfReject, 1, "ALT1.hfReject"},
    {SetupKind::AltType, 1, "ALT2.type"},
    {SetupKind::EdgeSlope, 2, "ALT2.edgeSlope"},
    {SetupKind::PulseCondition, 2, "ALT2.pulseCondition"},
    {SetupKind::PulseWidth, 2, "ALT2.pulseWidth5ns"},
    {SetupKind::HfReject, 2, "ALT2.hfReject"},
    {SetupKind::Format, 0, "format"},
    {SetupKind::Running, 0, "running"},
}};

// A table shorter than its count would leave settings without a name.
static_assert([] {
    for (const SetupSetting& s : kSetupSettings)
        if (s.name == nullptr) return false;
    return true;
}());

// A setup: the value of each setting of kSetupSettings, at the same place.
using SetupValues = std::array<int64_t, kSetupSettingCount>;

// The first line of a setup file.
inline constexpr std::string_view kSetupFileHeader = "Oscilane setup 1";
// Larger files are refused unread: a setup is a few kilobytes.
inline constexpr std::uintmax_t kSetupFileMaxBytes = 64 * 1024;

// The lowest and highest value a setting takes.
struct SetupRange {
    int64_t lowest;
    int64_t highest;
};
SetupRange setupRange(SetupKind kind);

// The setup a setting block reports.
SetupValues ReadSetup(const SettingBlock& block);

// The first setting of `values` outside its range, as a reason; none when
// every value is in range (a block whose setup could not be read back).
std::optional<std::string> SetupOutOfRange(const SetupValues& values);

// The file's text: the header line, then one line a setting, CR LF each.
std::string SetupText(const SetupValues& values);

// Why a text or file is refused.  `line` counts from 1; 0 when the refusal
// is about the file as a whole (it cannot be read, it is too large).
struct SetupRefusal {
    int line;
    std::string reason;
    // "line 3: ..." or the bare reason.
    std::string text() const;
};

struct SetupParse {
    std::optional<SetupValues> values;  // set when the text is sound
    SetupRefusal refusal;               // why not, otherwise
};

// Reads a setup file's text.  Lines end with CR LF or LF; blank lines are
// skipped; spaces and tabs around the name and the value do not count.
SetupParse ParseSetup(std::string_view text);

// The refusal of a file that cannot be read, or the values of one that can.
SetupParse LoadSetupFile(const std::filesystem::path& path);

// Writes the setup's text whole to path; a one-line reason when nothing was
// written (a value out of range, or the write failed).
std::optional<std::string> SaveSetupFile(const SetupValues& values,
                                         const std::filesystem::path& path);

}  // namespace oscilane
