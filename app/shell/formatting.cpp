#include "shell/formatting.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace oscilane {
namespace {

const QString kMicro = QStringLiteral("\u03bc");

QString withSign(double value, const QString& text) {
    return value < 0 ? QStringLiteral("-") + text : text;
}

}  // namespace

QString fixedText(double x, int decimals) {
    // Enough for the 309 integer digits of the largest double and its decimals.
    std::array<char, 400> buffer{};
    auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), x,
                                      std::chars_format::fixed, decimals);
    if (error != std::errc()) return QString();
    return QString::fromLatin1(buffer.data(), static_cast<qsizetype>(end - buffer.data()));
}

QString fmt3(double x) {
    if (x >= 0 && x < 10) return fixedText(x, 2);
    if (x >= 10 && x < 100) return fixedText(x, 1);
    return fixedText(x, 0);
}

QString fmtN(double x, int n) {
    if (x >= 0 && x < 10) return fixedText(x, n - 1);
    if (x >= 10 && x < 100) return fixedText(x, n - 2);
    if (x >= 100 && x < 1000) return fixedText(x, n - 3);
    return fixedText(x, 0);
}

QString voltText(double millivolts, uint16_t probe) {
    double a = std::fabs(millivolts);
    switch (probe) {
        case 1:
            a *= 10;
            break;
        case 2:
            a *= 100;
            break;
        case 3:
            a *= 1000;
            break;
        default:
            break;
    }
    QString text;
    if (a >= 0.001 && a < 1)
        text = fmt3(a * 1000) + kMicro + QLatin1Char('V');
    else if (a >= 1 && a < 1000)
        text = fmt3(a) + QStringLiteral("mV");
    else if (a >= 1000 && a < 1e6)
        text = fmt3(a * 0.001) + QLatin1Char('V');
    else if (a >= 1e6 && a < 1e9)
        text = fmt3(a * 1e-6) + QStringLiteral("kV");
    return withSign(millivolts, text);
}

QString dbText(double decibels, int n) {
    double a = std::fabs(decibels);
    int decimals = a < 10 ? n - 1 : a < 100 ? n - 2 : 0;
    return withSign(decibels, fixedText(a, decimals) + QStringLiteral("dB"));
}

QString timeText(double nanoseconds) {
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
    QString text;
    if (a >= 10) {
        for (const Range& r : kRanges) {
            if (a < r.upper) {
                text = fixedText(a * r.scale, r.decimals) + QLatin1String(r.unit);
                break;
            }
        }
    }
    return withSign(nanoseconds, text);
}

QString freqText(double hertz) {
    if (hertz >= 0 && hertz < 1000) return fmtN(hertz, 4) + QStringLiteral("Hz");
    if (hertz >= 1000 && hertz < 1e6) return fmtN(hertz * 0.001, 4) + QStringLiteral("KHz");
    if (hertz >= 1e6 && hertz < 1e9) return fmtN(hertz * 1e-6, 4) + QStringLiteral("MHz");
    if (hertz >= 1e9 && hertz < 1e12) return fmtN(hertz * 1e-9, 4) + QStringLiteral("GHz");
    return QString();
}

double parseDecimal(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text) {
        // Only the low byte of each character counts, as in the stored files.
        char low = static_cast<char>(c.unicode() & 0xFF);
        if ((low < '0' || low > '9') && low != '.' && low != '-') return 0;
        bytes.push_back(low);
    }
    double value = 0;
    const char* end = bytes.data() + bytes.size();
    auto [stop, error] = std::from_chars(bytes.data(), end, value);
    // The whole text must be the number; a value too large or too small to
    // hold is no usable number either.
    if (error != std::errc() || stop != end || value == 0) return 0;
    return value;
}

}  // namespace oscilane
