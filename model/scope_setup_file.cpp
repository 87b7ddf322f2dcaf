#include "model/scope_setup_file.h"

#include <cerrno>
#include <charconv>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "model/scope_settings.h"
#include "model/scope_setup_values.h"
#include "model/whole_file.h"
#include "zelvo/scope_tables.h"

namespace oscilane {
namespace {

using K = SetupKind;

int64_t readSetting(const SetupSetting& s, const SettingBlock& b) {
    const ScopeSettings settings(b);
    const int i = s.index;
    switch (s.kind) {
        case K::Shown:
            return settings.shown(i) ? 1 : 0;
        case K::VoltsIndex:
            return settings.voltsIndex(i);
        case K::Coupling:
            return settings.coupling(i);
        case K::Probe:
            return settings.probe(i);
        case K::Position:
            return settings.position(i);
        case K::Invert:
            return Invert(b, i);
        case K::BwLimit20M:
            return BandwidthLimit20M(b, i);
        case K::Bw100M:
            return Bandwidth100M(b, i);
        case K::VoltsStep:
            return VoltsStep(b, i);
        case K::TriggerLevel:
            return settings.triggerLevel(i);
        case K::AltTimeBase:
            return settings.altTimeBase(i);
        case K::TimeBase:
            return settings.timeBase();
        case K::HorizontalTrigger:
            return settings.horizontalTrigger();
        case K::TriggerMode:
            return settings.triggerModeValue();
        case K::TriggerSource:
            return settings.triggerSource();
        case K::Sweep:
            return settings.sweep();
        case K::EdgeSlope:
            return i == 0 ? settings.edgeSlope() : settings.altEdgeSlope(i - 1);
        case K::PulseCondition:
            return i == 0 ? settings.pulseCondition() : settings.altPulseCondition(i - 1);
        case K::PulseWidth:
            return i == 0 ? settings.pulseWidth5ns() : settings.altPulseWidth5ns(i - 1);
        case K::HfReject:
            return HfReject(b, i);
        case K::AltType:
            return settings.altType(i);
        case K::MathOperator:
            return settings.mathOperator();
        case K::MathSource:
            return MathSource(b, i);
        case K::FftSource:
            return settings.fftSource();
        case K::FftWindow:
            return FftWindow(b);
        case K::FftScale:
            return settings.fftScale();
        case K::Format:
            return settings.formatValue();
        case K::Running:
            return settings.running() ? 1 : 0;
    }
    return 0;
}

std::string rangeText(SetupRange r) {
    return std::to_string(r.lowest) + ".." + std::to_string(r.highest);
}

std::string_view trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

std::optional<std::size_t> placeOf(std::string_view name) {
    for (std::size_t i = 0; i < kSetupSettings.size(); ++i)
        if (name == kSetupSettings[i].name) return i;
    return std::nullopt;
}

SetupParse refused(int line, std::string reason) {
    return {std::nullopt, {line, std::move(reason)}};
}

}  // namespace

SetupRange setupRange(SetupKind kind) {
    namespace t = zelvo::tables;
    const int64_t lastVolts = static_cast<int64_t>(t::kMillivoltsPerDivision.size()) - 1;
    const int64_t lastTimeBase = t::kTimeBaseCount - 1;
    switch (kind) {
        case K::VoltsIndex:
            return {0, lastVolts};
        case K::Coupling:
        case K::TriggerMode:
        case K::TriggerSource:  // CH1, CH2, EXT
        case K::Sweep:
        case K::Format:
            return {0, 2};
        case K::Probe:
            return {0, static_cast<int64_t>(t::kProbeFactor.size()) - 1};
        case K::FftWindow:  // Rectangle, Hanning, Hamming, Blackman
            return {0, 3};
        case K::Position:
        case K::TriggerLevel:
            return {0, t::kLeverMax};
        case K::AltTimeBase:
        case K::TimeBase:
            return {0, lastTimeBase};
        case K::HorizontalTrigger:
            return {0, t::kHorizontalPositionMax};
        case K::PulseCondition:
            return {0, 5};
        case K::PulseWidth:  // the 31 bits the command carries
            return {0, 0x7FFFFFFF};
        case K::MathOperator:
            return {0, kFftOperator};
        case K::Shown:
        case K::Invert:
        case K::BwLimit20M:
        case K::Bw100M:
        case K::VoltsStep:
        case K::EdgeSlope:
        case K::HfReject:
        case K::AltType:
        case K::MathSource:
        case K::FftSource:
        case K::FftScale:
        case K::Running:
            break;
    }
    return {0, 1};
}

SetupValues ReadSetup(const SettingBlock& block) {
    SetupValues values{};
    for (std::size_t i = 0; i < kSetupSettings.size(); ++i)
        values[i] = readSetting(kSetupSettings[i], block);
    return values;
}

std::optional<std::string> SetupOutOfRange(const SetupValues& values) {
    for (std::size_t i = 0; i < kSetupSettings.size(); ++i) {
        const SetupRange r = setupRange(kSetupSettings[i].kind);
        if (values[i] < r.lowest || values[i] > r.highest)
            return std::string(kSetupSettings[i].name) + " is " + std::to_string(values[i]) +
                   ", outside " + rangeText(r);
    }
    return std::nullopt;
}

std::string SetupText(const SetupValues& values) {
    std::string text(kSetupFileHeader);
    text += "\r\n";
    for (std::size_t i = 0; i < kSetupSettings.size(); ++i) {
        text += kSetupSettings[i].name;
        text += " = ";
        text += std::to_string(values[i]);
        text += "\r\n";
    }
    return text;
}

std::string SetupRefusal::text() const {
    return line > 0 ? "line " + std::to_string(line) + ": " + reason : reason;
}

SetupParse ParseSetup(std::string_view text) {
    SetupValues values{};
    std::array<int, kSetupSettingCount> givenOn{};  // the line of each setting, 0 until given
    int lineNumber = 0;
    bool headerSeen = false;
    while (!text.empty()) {
        ++lineNumber;
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!headerSeen) {
            if (trimmed(line) != kSetupFileHeader)
                return refused(lineNumber, "not a setup file: the first line is not \"" +
                                               std::string(kSetupFileHeader) + "\"");
            headerSeen = true;
            continue;
        }
        if (line.find_first_of(std::string_view("\r\0", 2)) != std::string_view::npos)
            return refused(lineNumber, "a stray carriage return or NUL byte");
        if (trimmed(line).empty()) continue;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos)
            return refused(lineNumber, "not a \"name = value\" line");
        const std::string_view name = trimmed(line.substr(0, equals));
        const std::string_view number = trimmed(line.substr(equals + 1));
        const auto place = placeOf(name);
        if (!place) return refused(lineNumber, "unknown setting \"" + std::string(name) + "\"");
        const SetupSetting& setting = kSetupSettings[*place];
        if (givenOn[*place] != 0)
            return refused(lineNumber, std::string(setting.name) +
                                           " is given again (first on line " +
                                           std::to_string(givenOn[*place]) + ")");
        int64_t value = 0;
        const auto [rest, error] =
            std::from_chars(number.data(), number.data() + number.size(), value);
        if (number.empty() || error == std::errc::invalid_argument ||
            rest != number.data() + number.size())
            return refused(lineNumber, std::string(setting.name) + ": \"" + std::string(number) +
                                           "\" is not a whole number");
        const SetupRange r = setupRange(setting.kind);
        if (error == std::errc::result_out_of_range || value < r.lowest || value > r.highest)
            return refused(lineNumber, std::string(setting.name) + ": " + std::string(number) +
                                           " is outside " + rangeText(r));
        values[*place] = value;
        givenOn[*place] = lineNumber;
    }
    if (!headerSeen) return refused(1, "the file is empty");
    for (std::size_t i = 0; i < kSetupSettings.size(); ++i)
        if (givenOn[i] == 0)
            return refused(lineNumber + 1, std::string(kSetupSettings[i].name) + " is missing");
    return {values, {}};
}

SetupParse LoadSetupFile(const std::filesystem::path& path) {
    const auto cannot = [](int error) {
        return refused(0, std::generic_category().message(error));
    };
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return cannot(EISDIR);
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) return cannot(error.value());
    if (size > kSetupFileMaxBytes)
        return refused(
            0, "the file is " + std::to_string(size) + " bytes long, too long for a setup file");
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) return cannot(errno != 0 ? errno : ENOENT);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return cannot(EIO);
    return ParseSetup(text);
}

std::optional<std::string> SaveSetupFile(const SetupValues& values,
                                         const std::filesystem::path& path) {
    if (const auto bad = SetupOutOfRange(values))
        return "the instrument's setup cannot be saved: " + *bad;
    if (const auto failure = WriteWholeFile(path, SetupText(values)))
        return failure->systemMessage();
    return std::nullopt;
}

}  // namespace oscilane
