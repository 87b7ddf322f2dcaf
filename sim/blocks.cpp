#include "blocks.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <span>

#include "protocol/byte_order.h"
#include "protocol/device_info_codec.h"
#include "protocol/half_word_swap.h"
#include "protocol/meter_codec.h"
#include "zelvo/command_codes.h"
#include "zelvo/scope_tables.h"
#include "zelvo/setting_block_layout.h"

namespace zelvo::sim {
namespace {

namespace L = layout;

void putWordText(std::span<uint8_t> block, std::size_t firstWord, const std::string& text,
                 std::size_t maxChars) {
    const std::size_t n = std::min(text.size(), maxChars);
    for (std::size_t i = 0; i < n; ++i)
        storeLe16(block, 2 * (firstWord + i), static_cast<uint8_t>(text[i]));
}

// Sample code of lever position p: 255 at the top (0) down to 0 at the bottom (199).
double leverCode(int position) { return 255.0 - position * 255.0 / tables::kLeverMax; }

// Deterministic noise of about +-1 code, different for every sample and frame.
double noise(uint32_t frame, std::size_t i, int channel) {
    uint32_t x = frame * 2654435761u ^ static_cast<uint32_t>(i * 40503u + channel * 977u);
    x ^= x >> 15;
    x *= 2246822519u;
    x ^= x >> 13;
    return (static_cast<double>(x & 0xFFFF) / 65535.0 - 0.5) * 2.0;
}

// Input signals: CH1 a 1 kHz sine of 1 V amplitude, CH2 a 1 kHz square of 0.5 V amplitude.
double inputVolts(int channel, double t) {
    constexpr double f = 1000.0;
    const double phase = 2 * std::numbers::pi * f * t;
    return channel == 0 ? std::sin(phase) : (std::sin(phase) >= 0 ? 0.5 : -0.5);
}

void writeTrace(std::span<uint8_t> block, const ScopeState& s, int channel, uint32_t frame) {
    const ChannelState& c = s.channels[channel];
    const double secondsPerSample =
        tables::timeBaseSeconds(s.timeBase) / tables::kSamplesPerDivision;
    const double voltsPerDivision = tables::kMillivoltsPerDivision[c.voltsIndex % 14] / 1000.0 *
                                    tables::kProbeFactor[c.probe & 3];
    const std::size_t triggerSample = static_cast<std::size_t>(s.horizontalTriggerPosition) * 4;
    const std::size_t at = L::traceSamples(channel);
    for (std::size_t i = 0; i < L::kSamplesPerTrace; ++i) {
        const double t =
            (static_cast<double>(i) - static_cast<double>(triggerSample)) * secondsPerSample;
        double volts = c.coupling == 2 ? 0.0 : inputVolts(channel, t);
        if (c.invert) volts = -volts;
        double code = leverCode(c.position) + volts / voltsPerDivision * tables::kCodesPerDivision;
        if (s.running) code += noise(frame, i, channel);
        const auto sample = static_cast<int16_t>(std::clamp(code, 0.0, 255.0));
        storeLe16(block, at + 2 * i, static_cast<uint16_t>(sample));
    }
}

void writeChannelRecord(std::span<uint8_t> block, std::size_t at, const ChannelState& c,
                        int16_t altTimeBase) {
    namespace ch = L::channel;
    storeLe16(block, at + ch::kShown, static_cast<uint16_t>(c.shown));
    storeLe16(block, at + ch::kVoltsIndex, static_cast<uint16_t>(c.voltsIndex));
    storeLe16(block, at + ch::kCoupling, static_cast<uint16_t>(c.coupling));
    storeLe16(block, at + ch::kProbe, static_cast<uint16_t>(c.probe));
    storeLe16(block, at + ch::kInvert, static_cast<uint16_t>(c.invert));
    storeLe16(block, at + ch::kBandwidth20M, static_cast<uint16_t>(c.bandwidth20M));
    storeLe16(block, at + ch::kBandwidth100M, static_cast<uint16_t>(c.bandwidth100M));
    const float millivolts = tables::kMillivoltsPerDivision[c.voltsIndex % 14];
    storeLe32(block, at + ch::kVoltsValue, static_cast<uint32_t>(millivolts * 100.0f));
    storeLe16(block, at + ch::kPosition, static_cast<uint16_t>(c.position));
    storeLe16(block, at + ch::kAltTimeBase, static_cast<uint16_t>(altTimeBase));
    storeLe16(block, at + ch::kVoltsStep, static_cast<uint16_t>(c.voltsStep));
}

void writeTriggerRecord(std::span<uint8_t> block, std::size_t at, const TriggerState& t) {
    namespace tr = L::trigger;
    storeLe16(block, at + tr::kType, t.type);
    storeLe16(block, at + tr::kSource, t.source);
    storeLe16(block, at + tr::kSweep, t.sweep);
    storeLe16(block, at + tr::kSlope, t.slope);
    storeLe16(block, at + tr::kPulseCondition, t.pulseCondition);
    storeLe32(block, at + tr::kPulseWidth, t.pulseWidth);
}

}  // namespace

std::vector<uint8_t> deviceInfoBlock(const Identity& id) {
    namespace w = device_info_words;
    std::vector<uint8_t> block(kDeviceInfoBlockSize, 0);
    // The serial number's words run up to the name's; keep a zero word between.
    putWordText(block, w::kSerialNumber, id.serialNumber, w::kName - w::kSerialNumber - 1);
    putWordText(block, w::kName, id.name, 19);
    const uint16_t ids[5] = {0x5A56, 0x0103, 0x0001, 0x0002, 0x0100};
    for (std::size_t k = 0; k < 5; ++k) storeLe16(block, 2 * w::kIdentification[k], ids[k]);
    auto digit = [&](std::size_t word, int value) {
        storeLe16(block, 2 * word, static_cast<uint16_t>('0' + value % 10));
    };
    digit(w::kYearTens, (id.year - 2000) / 10);
    digit(w::kYearUnits, id.year);
    digit(w::kMonthTens, id.month / 10);
    digit(w::kMonthUnits, id.month);
    digit(w::kDayTens, id.day / 10);
    digit(w::kDayUnits, id.day);
    return block;
}

std::vector<uint8_t> settingBlock(const ScopeState& s, uint32_t frame) {
    std::vector<uint8_t> bytes(L::kBlockSize, 0);
    std::span<uint8_t> block(bytes);
    for (int c = 0; c < L::kWaveformCount; ++c) {
        const int16_t alt = c < 2 ? s.altTimeBase[c] : s.timeBase;
        writeChannelRecord(block, L::firstChannelRecord(c), s.channels[c], alt);
        writeChannelRecord(block, L::secondChannelRecord(c), s.channels[c], alt);
    }
    storeLe32(block, L::kMathOperatorSettings, s.mathOperator);
    writeTriggerRecord(block, L::kMainTrigger, s.mainTrigger);
    for (int a = 0; a < 2; ++a) writeTriggerRecord(block, L::altTriggerRecord(a), s.altTriggers[a]);
    storeLe16(block, L::kTimeBase, static_cast<uint16_t>(s.timeBase));
    storeLe16(block, L::kRunStop, s.running ? 0 : 1);
    storeLe16(block, L::kTriggerMode, static_cast<uint16_t>(s.triggerMode));
    storeLe16(block, L::kDisplayFormat, static_cast<uint16_t>(s.displayFormat));
    for (int c = 0; c < 2; ++c) {
        const bool live = s.channels[c].shown != 0;
        storeLe32(block, L::waveformRecord(c) + L::waveform::kSampleCount,
                  live ? static_cast<uint32_t>(L::kSamplesPerTrace) : 0);
        if (live) writeTrace(block, s, c, frame);
    }
    swapHalfSwappedFields(std::span<uint8_t, L::kBlockSize>(bytes));
    return bytes;
}

std::vector<uint8_t> meterBlock(const MeterState& m, uint32_t frame) {
    namespace mb = meter_block;
    std::vector<uint8_t> b(kMeterBlockSize, 0);
    // A reading that drifts slowly around 12.34 of the mode's unit.
    const int counts = 1234 + static_cast<int>(frame % 7) - 3;
    b[mb::kSign] = '+';
    for (int i = 3; i >= 0; --i)
        b[mb::kDigits + static_cast<std::size_t>(3 - i)] =
            static_cast<uint8_t>('0' + (counts / static_cast<int>(std::pow(10, i))) % 10);
    b[mb::kDecimalPoint] = '2';
    b[mb::kRangeFlags] =
        static_cast<uint8_t>((m.manualRange ? 0 : mb::kAutoRange) | (m.ac ? 0 : mb::kDc) |
                             (m.relative ? mb::kRelative : 0));
    switch (m.mode) {
        case kModeVoltage:
            b[mb::kUnitFlags] = mb::kVolt;
            break;
        case kModeCurrent:
            b[mb::kUnitFlags] = mb::kAmpere;
            if (m.milliamps) b[mb::kPrefixFlags] = mb::kMilli;
            break;
        case kModeResistance:
            b[mb::kUnitFlags] = mb::kOhm;
            b[mb::kPrefixFlags] = mb::kKilo;
            break;
        case kModeDiode:
            b[mb::kPrefixFlags] = mb::kDiode;
            b[mb::kUnitFlags] = mb::kVolt;
            break;
        case kModeContinuity:
            b[mb::kPrefixFlags] = mb::kContinuity;
            b[mb::kUnitFlags] = mb::kOhm;
            break;
        default:
            b[mb::kUnitFlags] = mb::kFarad;
            b[mb::kNanoFlags] = mb::kNano;
            break;
    }
    b[mb::kBar] = static_cast<uint8_t>(counts / 100);
    return b;
}

std::vector<uint8_t> screenBlock(const ScopeState& s, uint32_t frame) {
    constexpr int width = 320, height = 240;
    std::vector<uint8_t> colours(width * height, 0);
    auto plot = [&](int x, int y, uint8_t colour) {
        if (x >= 0 && x < width && y >= 0 && y < height) colours[y * width + x] = colour;
    };
    // Grid of 12 x 8 divisions of 25 pixels, dotted, in the instrument's grey.
    constexpr int left = 10, top = 20, division = 25;
    for (int d = 0; d <= 12; ++d)
        for (int y = top; y <= top + 8 * division; y += (d % 6 == 0) ? 1 : 5)
            plot(left + d * division, y, 11);
    for (int d = 0; d <= 8; ++d)
        for (int x = left; x <= left + 12 * division; x += (d % 4 == 0) ? 1 : 5)
            plot(x, top + d * division, 11);
    // The traces, scaled from the setting block's sample codes.
    const std::vector<uint8_t> block = settingBlock(s, frame);
    const std::uint8_t traceColour[2] = {3, 5};  // yellow, green
    for (int c = 0; c < 2; ++c) {
        if (!s.channels[c].shown) continue;
        int previous = -1;
        for (int x = 0; x < 12 * division; ++x) {
            const std::size_t i =
                static_cast<std::size_t>(x) * L::kSamplesPerTrace / (12 * division);
            const int code = loadLeI16(block, L::traceSamples(c) + 2 * i);
            const int y = top + 8 * division - code * 8 * division / 255;
            // Join each column to the previous one so steep edges stay continuous.
            const int from = previous < 0 ? y : previous;
            for (int v = std::min(from, y); v <= std::max(from, y); ++v)
                plot(left + x, v, traceColour[c]);
            previous = y;
        }
    }
    // The instrument sends its bottom row first, four pixels per byte pair:
    // the first two in the second byte, high nibble first, then the first byte.
    std::vector<uint8_t> sent;
    sent.reserve(colours.size());
    for (int y = height - 1; y >= 0; --y)
        sent.insert(sent.end(), colours.begin() + y * width, colours.begin() + (y + 1) * width);
    std::vector<uint8_t> block4(kScreenBlockSize, 0);
    for (std::size_t p = 0, j = 0; p + 3 < sent.size(); p += 4, j += 2) {
        block4[j + 1] = static_cast<uint8_t>(sent[p] << 4 | sent[p + 1]);
        block4[j] = static_cast<uint8_t>(sent[p + 2] << 4 | sent[p + 3]);
    }
    return block4;
}

}  // namespace zelvo::sim
