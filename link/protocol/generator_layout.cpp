#include "generator_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "zelvo/command_codes.h"

namespace zelvo {
namespace {

constexpr double kDividerPerSecond = 48828.125;  // 100 MSa/s / 2048
constexpr double kUndividedRate = 200000000.0;
constexpr double kDividedRate = 100000000.0;
constexpr double kBufferSamples = static_cast<double>(kGeneratorSamplesMax);

// Truncates toward zero into the 64-bit range (a double outside it would be undefined to convert).
int64_t truncated(double x) {
    constexpr double limit = 9.0e18;
    if (!(x > -limit)) return static_cast<int64_t>(-limit);
    if (!(x < limit)) return static_cast<int64_t>(limit);
    return static_cast<int64_t>(x);
}

}  // namespace

std::optional<GeneratorLayout> generatorLayout(double f) {
    if (!std::isfinite(f)) return std::nullopt;
    if (std::fabs(f) < 1.0) f = 1.0;
    const double period = 1.0 / f;

    int64_t divider = 0;
    int64_t points = 0;
    int64_t periods = 1;
    if (f <= 100000.0) {
        divider = truncated(period * kDividerPerSecond);
        points = divider == 0 ? truncated(period * kUndividedRate)
                              : truncated(period * kDividedRate / static_cast<double>(divider));
    } else {
        // The largest whole number of periods that fits the buffer, at least one.
        // Computed directly rather than counted up, so a huge frequency costs nothing;
        // it cannot exceed what the 16-bit period count carries.
        const double perPeriod = kUndividedRate / f;
        int64_t n = std::max<int64_t>(1, truncated(kBufferSamples / perPeriod));
        while (n > 1 && static_cast<double>(n) * perPeriod > kBufferSamples) --n;
        while (static_cast<double>(n + 1) * perPeriod <= kBufferSamples &&
               n < std::numeric_limits<int16_t>::max())
            ++n;
        n = std::min<int64_t>(n, std::numeric_limits<int16_t>::max());
        periods = n;
        points = truncated(static_cast<double>(n) * perPeriod);
    }
    points = std::min<int64_t>(points, static_cast<int64_t>(kGeneratorSamplesMax));
    return GeneratorLayout{static_cast<uint32_t>(divider), static_cast<int16_t>(points),
                           static_cast<int16_t>(periods)};
}

}  // namespace zelvo
