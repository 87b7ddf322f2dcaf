// Sample-buffer layout of the function generator for a requested frequency.
#pragma once

#include <cstdint>
#include <optional>

namespace zelvo {

struct GeneratorLayout {
    uint32_t divider;  // 0: 200 MSa/s, otherwise 100 MSa/s / divider
    int16_t points;    // samples in the buffer, at most 4096
    int16_t periods;   // waveform periods the buffer holds
};

// None for a frequency that is not finite.
std::optional<GeneratorLayout> generatorLayout(double frequencyHz);

}  // namespace zelvo
