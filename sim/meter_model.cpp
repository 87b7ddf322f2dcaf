#include "meter_model.h"

#include <array>
#include <cmath>
#include <cstdlib>

#include "protocol/byte_order.h"
#include "protocol/meter_codec.h"

namespace zelvo::sim {
namespace {

namespace mb = meter_block;

using Range = MeterModel::Range;

constexpr std::array<Range, 6> kVoltRanges = {{{0.01e-3, '2', mb::kMilli},
                                               {0.1e-3, '4', mb::kMilli},
                                               {0.001, '1', 0},
                                               {0.01, '2', 0},
                                               {0.1, '4', 0},
                                               {1.0, '0', 0, 8000}}};
constexpr std::array<Range, 2> kMilliampRanges = {
    {{0.01e-3, '2', mb::kMilli}, {0.1e-3, '4', mb::kMilli}}};
constexpr std::array<Range, 2> kAmpRanges = {{{0.001, '1', 0}, {0.01, '2', 0}}};
constexpr std::array<Range, 6> kOhmRanges = {{{0.1, '4', 0},
                                              {1.0, '1', mb::kKilo},
                                              {10.0, '2', mb::kKilo},
                                              {100.0, '4', mb::kKilo},
                                              {1000.0, '1', mb::kMega},
                                              {10000.0, '2', mb::kMega}}};
constexpr Range kDiodeRange{0.001, '1', 0};
constexpr Range kContinuityRange{0.1, '4', 0};
constexpr Range kCapacitanceRange{0.01e-9, '2', 0};  // nano prefix, byte 9

// The displayed number of one count: xxxx, x.xxx, xx.xx or xxx.x.
double decimalFactor(const Range& r) {
    switch (r.decimalPoint) {
        case '1':
            return 0.001;
        case '2':
            return 0.01;
        case '4':
            return 0.1;
        default:
            return 1.0;
    }
}

template <std::size_t N>
const Range& pick(const std::array<Range, N>& ranges, bool manual, uint8_t index, double value) {
    if (manual) return ranges[std::min<std::size_t>(index, N - 1)];
    for (const Range& r : ranges)
        if (std::fabs(value) / r.unitsPerCount < r.fullScale) return r;
    return ranges[N - 1];
}

}  // namespace

struct MeterModel::Display {
    Range range;
    int counts;  // signed; beyond the range's full scale it is an overload
};

void MeterModel::setRelative(bool on) {
    if (on && !state_.relative) {
        // REL keeps the range the reference was read in.
        reference_ = measuredValue();
        relativeRange_ = display(reference_).range;
    }
    state_.relative = on ? 1 : 0;
}

double MeterModel::measuredValue() {
    // A slow drift of a few tenths of a percent, as a real input wanders.
    const double drift = 1.0 + 0.002 * std::sin(static_cast<double>(readings_) * 0.37);
    const bool ac = state_.ac != 0;
    switch (state_.mode) {
        case 0:
            return (ac ? inputs_.acVolts : inputs_.dcVolts) * drift;
        case 1:
            return (ac ? inputs_.acAmperes : inputs_.dcAmperes) * drift;
        case 2:
            return inputs_.ohms * drift;
        case 3:
            return inputs_.diodeVolts * drift;
        case 4:
            return inputs_.continuityOhms * drift;
        default:
            return inputs_.farads * drift;
    }
}

MeterModel::Display MeterModel::display(double value) const {
    if (state_.relative)
        return {relativeRange_,
                static_cast<int>(std::lround(value / relativeRange_.unitsPerCount))};
    const bool manual = state_.manualRange != 0;
    Range r{};
    switch (state_.mode) {
        case 0:
            r = pick(kVoltRanges, manual, state_.voltRange, value);
            break;
        case 1:
            r = state_.milliamps ? pick(kMilliampRanges, manual, state_.currentRange, value)
                                 : pick(kAmpRanges, false, 0, value);
            break;
        case 2:
            r = pick(kOhmRanges, manual, state_.resistanceRange, value);
            break;
        case 3:
            r = kDiodeRange;
            break;
        case 4:
            r = kContinuityRange;
            break;
        default:
            r = kCapacitanceRange;
            break;
    }
    return {r, static_cast<int>(std::lround(value / r.unitsPerCount))};
}

std::vector<uint8_t> MeterModel::readingBlock() {
    ++readings_;
    const double value = measuredValue() - (state_.relative ? reference_ : 0.0);
    const Display d = display(value);
    std::vector<uint8_t> b(kMeterBlockSize, 0);
    const bool overload = std::abs(d.counts) >= d.range.fullScale;
    b[mb::kSign] = d.counts < 0 ? '-' : '+';
    if (overload) {
        const char text[4] = {' ', 'O', 'L', ' '};
        for (int i = 0; i < 4; ++i) b[mb::kDigits + i] = static_cast<uint8_t>(text[i]);
    } else {
        int n = std::abs(d.counts);
        for (int i = 3; i >= 0; --i, n /= 10)
            b[mb::kDigits + i] = static_cast<uint8_t>('0' + n % 10);
    }
    b[mb::kDecimalPoint] = static_cast<uint8_t>(d.range.decimalPoint);
    b[mb::kRangeFlags] =
        static_cast<uint8_t>((state_.manualRange && !state_.relative ? 0 : mb::kAutoRange) |
                             (state_.ac ? 0 : mb::kDc) | (state_.relative ? mb::kRelative : 0));
    b[mb::kPrefixFlags] = d.range.prefixFlag;
    switch (state_.mode) {
        case 0:
            b[mb::kUnitFlags] = mb::kVolt;
            break;
        case 1:
            b[mb::kUnitFlags] = mb::kAmpere;
            break;
        case 2:
            b[mb::kUnitFlags] = mb::kOhm;
            break;
        case 3:
            b[mb::kUnitFlags] = mb::kVolt;
            b[mb::kPrefixFlags] |= mb::kDiode;
            break;
        case 4:
            b[mb::kUnitFlags] = mb::kOhm;
            b[mb::kPrefixFlags] |= mb::kContinuity;
            break;
        default:
            b[mb::kUnitFlags] = mb::kFarad;
            b[mb::kNanoFlags] = mb::kNano;
            break;
    }
    const int bar = std::min(std::abs(d.counts) * 60 / d.range.fullScale, 60);
    b[mb::kBar] = static_cast<uint8_t>(bar | (d.counts < 0 ? 0x80 : 0));
    // The REL reference as the number the display would show, in thousandths,
    // with its decimal point code.
    const double referenceCounts =
        state_.relative ? std::fabs(reference_) / d.range.unitsPerCount : 0;
    storeLe32(
        b, mb::kAuxCount,
        static_cast<uint32_t>(std::lround(referenceCounts * decimalFactor(d.range) * 1000.0)));
    b[mb::kAuxC] = static_cast<uint8_t>(d.range.decimalPoint - '0');
    b[mb::kAuxA] = state_.mode;
    b[mb::kAuxB] = state_.relative;
    return b;
}

std::vector<uint8_t> MeterModel::kitReadingBlock() {
    std::vector<uint8_t> b = readingBlock();
    // The kit's block carries the reference as four digit values, its decimal
    // type and its sign instead of a count.
    const double reference = state_.relative ? reference_ : 0.0;
    const Display d = display(reference);
    int n = std::min(std::abs(d.counts), 9999);
    for (int i = 3; i >= 0; --i, n /= 10)
        b[mb::kAuxCount + static_cast<std::size_t>(i)] = static_cast<uint8_t>(n % 10);
    b.push_back(reference < 0 ? 1 : 0);
    return b;
}

}  // namespace zelvo::sim
