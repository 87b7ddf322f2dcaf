#include "model/formatting.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace oscilane {
namespace {

constexpr std::string_view kMicro = "\u03bc";

std::string withSign(double value, std::string text) { return value < 0 ? "-" + text : text; }

constexpr int kSignificantDigits = 3;

// The power of ten of a > 0 once rounded to three significant digits (so
// 999.6 counts as 1.00e3).
int roundedExponent(double a) {
    int exponent = static_cast<int>(std::floor(std::log10(a)));
    const double unit = std::pow(10.0, exponent - (kSignificantDigits - 1));
    if (std::round(a / unit) * unit >= std::pow(10.0, exponent + 1)) ++exponent;
    return exponent;
}

// Decimals that leave three significant digits of a number whose leading
// digit is at 10^exponent.
int decimalsFor(int exponent) { return std::max(0, kSignificantDigits - 1 - exponent); }

// Prefixes from 1e-24 to 1e24, three powers of ten apart.
constexpr std::array<std::string_view, 17> kPrefixes = {
    "y", "z", "a", "f", "p", "n", kMicro, "m", "", "k", "M", "G", "T", "P", "E", "Z", "Y"};
constexpr int kUnitPrefix = 8;  // index of "" in kPrefixes

// Four digits with the prefix "", "K", "M" or "G" and the unit; empty for
// negatives and from 1e12 up.
std::string prefixedText(double value, const char* unit) {
    if (value >= 0 && value < 1000) return FmtN(value, 4) + unit;
    if (value >= 1000 && value < 1e6) return FmtN(value * 0.001, 4) + "K" + unit;
    if (value >= 1e6 && value < 1e9) return FmtN(value * 1e-6, 4) + "M" + unit;
    if (value >= 1e9 && value < 1e12) return FmtN(value * 1e-9, 4) + "G" + unit;
    return {};
}

}  // namespace

std::string FixedText(double x, int decimals) {
    // Enough for the 309 integer digits of the largest double and its decimals.
    std::array<char, 400> buffer{};
    auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), x,
                                      std::chars_format::fixed, decimals);
    if (error != std::errc()) return {};
    return std::string(buffer.data(), end);
}

std::string GeneralText(double x, int digits) {
    std::array<char, 40> buffer{};
    auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), x,
                                      std::chars_format::general, digits);
    if (error != std::errc()) return "0";
    return std::string(buffer.data(), end);
}

std::string Fmt3(double x) {
    if (x >= 0 && x < 10) return FixedText(x, 2);
    if (x >= 10 && x < 100) return FixedText(x, 1);
    return FixedText(x, 0);
}

std::string FmtN(double x, int n) {
    if (x >= 0 && x < 10) return FixedText(x, n - 1);
    if (x >= 10 && x < 100) return FixedText(x, n - 2);
    if (x >= 100 && x < 1000) return FixedText(x, n - 3);
    return FixedText(x, 0);
}

std::string VoltText(double millivolts, uint16_t probe) {
    static constexpr std::array<double, 4> kProbeScale = {1, 10, 100, 1000};
    double a = std::fabs(millivolts) * (probe < kProbeScale.size() ? kProbeScale[probe] : 1);
    std::string text;
    if (a >= 0.001 && a < 1)
        text = Fmt3(a * 1000).append(kMicro).append("V");
    else if (a >= 1 && a < 1000)
        text = Fmt3(a) + "mV";
    else if (a >= 1000 && a < 1e6)
        text = Fmt3(a * 0.001) + "V";
    else if (a >= 1e6 && a < 1e9)
        text = Fmt3(a * 1e-6) + "kV";
    return withSign(millivolts, std::move(text));
}

std::string DbText(double decibels, int n) {
    double a = std::fabs(decibels);
    int decimals = a < 10 ? n - 1 : a < 100 ? n - 2 : 0;
    return withSign(decibels, FixedText(a, decimals) + "dB");
}

std::string TimeText(double nanoseconds) {
    struct Range {
        double upper;  // exclusive upper bound of |ns|
        double scale;
        int decimals;
        const char* unit;
    };
    static constexpr Range kRanges[] = {
        {1e2, 1, 1, "nS"},    {1e3, 1, 0, "nS"},    {1e4, 1e-3, 2, "uS"}, {1e5, 1e-3, 1, "uS"},
        {1e6, 1e-3, 0, "uS"}, {1e7, 1e-6, 2, "mS"}, {1e8, 1e-6, 1, "mS"}, {1e9, 1e-6, 0, "mS"},
        {1e10, 1e-9, 2, "S"}, {1e11, 1e-9, 1, "S"}, {1e12, 1e-9, 0, "S"},
    };
    double a = std::fabs(nanoseconds);
    std::string text;
    if (a >= 10) {
        for (const Range& r : kRanges) {
            if (a < r.upper) {
                text = FixedText(a * r.scale, r.decimals) + r.unit;
                break;
            }
        }
    }
    return withSign(nanoseconds, std::move(text));
}

std::string FreqText(double hertz) { return prefixedText(hertz, "Hz"); }

std::string RateText(double samplesPerSecond) { return prefixedText(samplesPerSecond, "Sa/s"); }

std::string SignificantText(double x) {
    if (!std::isfinite(x)) return {};
    if (x == 0) return "0";
    const double a = std::fabs(x);
    return withSign(x, FixedText(a, decimalsFor(roundedExponent(a))));
}

std::string EngineeringText(double x, std::string_view unit) {
    if (!std::isfinite(x)) return {};
    if (x == 0) return std::string("0").append(unit);
    const double a = std::fabs(x);
    const int exponent = roundedExponent(a);
    // Beyond the prefixes the mantissa simply grows or shrinks.
    const int group =
        std::clamp(exponent >= 0 ? exponent / 3 : -((2 - exponent) / 3), -kUnitPrefix, kUnitPrefix);
    const double mantissa = a / std::pow(10.0, 3 * group);
    std::string text = FixedText(mantissa, decimalsFor(exponent - 3 * group));
    text.append(kPrefixes[static_cast<std::size_t>(group + kUnitPrefix)]).append(unit);
    return withSign(x, std::move(text));
}

double ParseDecimal(std::string_view text) {
    for (char c : text)
        if ((c < '0' || c > '9') && c != '.' && c != '-') return 0;
    double value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    // The whole text must be the number; a value too large or too small to
    // hold is no usable number either.
    if (error != std::errc() || stop != end || value == 0) return 0;
    return value;
}

double ParseDecimal(std::u16string_view text) {
    std::string bytes(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) bytes[i] = static_cast<char>(text[i] & 0xFF);
    return ParseDecimal(std::string_view(bytes));
}

}  // namespace oscilane
