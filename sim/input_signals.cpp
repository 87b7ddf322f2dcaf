#include "input_signals.h"

#include <cmath>
#include <numbers>

namespace zelvo::sim {

double InputSignals::volts(int channel, double t) const {
    const double phase = 2 * std::numbers::pi * frequency(channel) * t;
    if (channel == 0) return ch1Offset + ch1Amplitude * std::sin(phase);
    return ch2Offset + (std::sin(phase) >= 0 ? ch2Amplitude : -ch2Amplitude);
}

}  // namespace zelvo::sim
