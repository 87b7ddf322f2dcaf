#include "summary.h"

#include <algorithm>
#include <cstdio>

#include "protocol/byte_order.h"
#include "zelvo/scope_tables.h"
#include "zelvo/setting_block_layout.h"

namespace zelvo::cli {
namespace {

template <class... Args>
std::string format(const char* pattern, Args... args) {
    char text[256];
    std::snprintf(text, sizeof text, pattern, args...);
    return text;
}

constexpr const char* kChannelNames[4] = {"CH1", "CH2", "MATH", "REF"};
constexpr const char* kPrefixes[8] = {"", "n", "u", "m", "k", "M", "", ""};
constexpr const char* kUnits[4] = {"V", "A", "Ohm", "F"};
constexpr const char* kModes[6] = {"voltage", "current",    "resistance",
                                   "diode",   "continuity", "capacitance"};

std::string engineering(double value, const char* unit) {
    static constexpr struct {
        double scale;
        const char* prefix;
    } steps[] = {{1e0, ""}, {1e-3, "m"}, {1e-6, "u"}, {1e-9, "n"}};
    for (const auto& s : steps)
        if (value >= s.scale || s.scale == 1e-9)
            return format("%g %s%s", value / s.scale, s.prefix, unit);
    return format("%g %s", value, unit);
}

}  // namespace

std::string describeDeviceInfo(const DeviceInfo& info) {
    return format(
        "device: %s, serial number %s, built %04u-%02u-%02u, ids %04x %04x %04x %04x %04x\n",
        info.name, info.serialNumber, info.date >> 16, (info.date >> 8) & 0xFF, info.date & 0xFF,
        info.identification[0], info.identification[1], info.identification[2],
        info.identification[3], info.identification[4]);
}

std::string describeMeterReading(const DmmInfo& r) {
    const char* mode = r.measureMode < 6 ? kModes[r.measureMode] : "?";
    const char* prefix = r.prefixIndex >= 0 && r.prefixIndex < 8 ? kPrefixes[r.prefixIndex] : "";
    const char* unit = r.unitIndex >= 0 && r.unitIndex < 4 ? kUnits[r.unitIndex] : "";
    // Decimal scales 0..3 show xxxx, x.xxx, xx.xx and xxx.x.
    constexpr int kDecimals[4] = {0, 3, 2, 1};
    const int decimals = r.decimalScale >= 0 && r.decimalScale < 4 ? kDecimals[r.decimalScale] : 3;
    const std::string value = r.overload ? std::string("OL") : format("%.*f", decimals, r.value);
    return format("meter: %s %s %s%s, %s, %s range%s\n", mode, value.c_str(), prefix, unit,
                  r.ac ? "AC" : "DC", r.manualRange ? "manual" : "auto", r.rel ? ", REL" : "");
}

std::string describeSettingBlock(std::span<const uint8_t> block) {
    namespace L = layout;
    std::string text;
    const int timeBase = loadLeI16(block, L::kTimeBase);
    text += format("scope: time base %s/div, %s\n",
                   engineering(tables::timeBaseSeconds(timeBase), "s").c_str(),
                   loadLeI16(block, L::kRunStop) ? "stopped" : "running");
    for (int c = 0; c < L::kWaveformCount; ++c) {
        const std::size_t rec = L::firstChannelRecord(c);
        const bool shown = loadLe16(block, rec + L::channel::kShown) == 1;
        const double millivolts =
            loadLe32(block, rec + L::channel::kVoltsValue) * 0.01 *
            tables::kProbeFactor[loadLe16(block, rec + L::channel::kProbe) & 3];
        const uint32_t count =
            std::min<uint32_t>(loadLe32(block, L::waveformRecord(c) + L::waveform::kSampleCount),
                               static_cast<uint32_t>(L::kSamplesPerTrace));
        int lo = 0, hi = 0;
        bool any = false;
        for (uint32_t i = 0; i < count; ++i) {
            const int s = loadLeI16(block, L::traceSamples(c) + 2 * i);
            if (s == L::kBlankedSample) continue;
            lo = any ? std::min(lo, s) : s;
            hi = any ? std::max(hi, s) : s;
            any = true;
        }
        text += format("  %-4s %-3s %s/div", kChannelNames[c], shown ? "on" : "off",
                       engineering(millivolts / 1000.0, "V").c_str());
        text += any ? format(", %u samples, codes %d..%d\n", count, lo, hi)
                    : format(", %u samples\n", count);
    }
    return text;
}

}  // namespace zelvo::cli
