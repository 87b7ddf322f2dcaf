// Statistics of the active measurements over the frames: for each slot the
// current value, minimum, maximum, mean, standard deviation and the number
// of frames counted since the slot got its measurement or since the last
// restart.  A frame in which a slot has no value is not counted.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "model/measure_set.h"

namespace oscilane {

struct MeasureStats {
    std::optional<double> current;  // the last frame's value, none when it had none
    double minimum = 0;
    double maximum = 0;
    double mean = 0;
    double deviation = 0;  // population standard deviation of the counted frames
    uint64_t frames = 0;   // frames counted
};

class MeasureStatistics {
  public:
    // Takes the values of one computed frame.  A slot that got a new
    // measurement since the last frame starts over; a disabled one is empty.
    void addFrame(const MeasureSet& set);
    // Starts every slot over.
    void restart();

    const MeasureStats& slot(int k) const { return stats_[static_cast<std::size_t>(k)]; }

  private:
    struct Running {
        uint32_t serial = 0;
        double sumOfSquares = 0;  // of the differences from the mean (Welford)
    };
    void reset(std::size_t k);

    std::array<MeasureStats, kMeasureSlotCount> stats_{};
    std::array<Running, kMeasureSlotCount> running_{};
};

// A value of the kind as the statistics table writes it: every value, with
// its unit, three significant digits and an engineering prefix ("5.00ns",
// "0s", "1.00kHz", "-2.50mV"); fractions in percent ("12.5%").  The
// display's texts keep their own formatters, which leave some ranges empty.
std::string StatisticsValueText(MeasureKind kind, double value);

}  // namespace oscilane
