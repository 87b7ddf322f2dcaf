#include "levels.h"

#include <array>

namespace mensyl {
namespace {

// Codes on each side of a mode that still count as that state, so that noise
// of a code or two spreads a flat level without moving it.
inline constexpr int kModeReach = 2;
// A mode is a state only when its neighbourhood holds this share (in percent)
// of the samples of its half; a sine or a triangle spreads its samples over
// the whole half and falls back to its extreme.
inline constexpr std::uint64_t kModeSharePercent = 40;

using Histogram = std::array<std::uint32_t, kCodeCount>;

// The state level of the codes lo..hi (one half of the histogram): the mean of
// the codes near its mode, or `extreme` when the mode holds too few samples.
// `fromTop` breaks ties between equal bins towards the outer end.
LevelRecord halfLevel(const Histogram& histogram, int lo, int hi, int extreme, bool fromTop,
                      std::uint32_t count) {
    std::uint64_t halfCount = 0;
    int mode = extreme;
    for (int c = lo; c <= hi; ++c) {
        halfCount += histogram[c];
        const bool better =
            fromTop ? histogram[c] >= histogram[mode] : histogram[c] > histogram[mode];
        if (better) mode = c;
    }
    const int from = mode - kModeReach < lo ? lo : mode - kModeReach;
    const int to = mode + kModeReach > hi ? hi : mode + kModeReach;
    std::uint64_t near = 0, weighted = 0;
    for (int c = from; c <= to; ++c) {
        near += histogram[c];
        weighted += std::uint64_t{histogram[c]} * static_cast<unsigned>(c);
    }
    LevelRecord level;
    level.extreme = extreme;
    level.count = count;
    level.fromMode = near * 100 >= halfCount * kModeSharePercent;
    level.level = level.fromMode ? static_cast<double>(weighted) / static_cast<double>(near)
                                 : static_cast<double>(extreme);
    return level;
}

}  // namespace

bool findStateLevels(const short* data, int n, StateLevels& levels) {
    if (!data || n <= 0) return false;
    // Four interleaved histograms, so that the long runs of one code on a
    // flat level do not wait on each other's increments.
    std::array<Histogram, 4> parts{};
    int i = 0;
    for (; i + 4 <= n; i += 4)
        for (int k = 0; k < 4; ++k) {
            const int code = data[i + k];
            if (isSampleCode(code)) ++parts[k][code];
        }
    for (; i < n; ++i)
        if (isSampleCode(data[i])) ++parts[0][data[i]];
    Histogram histogram{};
    std::uint32_t count = 0;
    for (int c = 0; c < kCodeCount; ++c) {
        histogram[c] = parts[0][c] + parts[1][c] + parts[2][c] + parts[3][c];
        count += histogram[c];
    }
    if (count == 0) return false;
    int minimum = 0;
    while (histogram[minimum] == 0) ++minimum;
    int maximum = kCodeCount - 1;
    while (histogram[maximum] == 0) --maximum;
    // Halves split at the middle code; a flat line lies in both.
    const int upperFrom = (minimum + maximum + 1) / 2;
    const int lowerTo = (minimum + maximum) / 2;
    levels.high = halfLevel(histogram, upperFrom, maximum, maximum, true, count);
    levels.low = halfLevel(histogram, minimum, lowerTo, minimum, false, count);
    return true;
}

}  // namespace mensyl
