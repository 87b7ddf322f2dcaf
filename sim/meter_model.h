// The simulated instrument's multimeter: what it measures, how its ranges and
// flags follow the meter commands, and the reading blocks it sends.
#pragma once

#include <cstdint>
#include <vector>

namespace zelvo::sim {

struct MeterState {
    uint8_t mode = 0;  // 0 voltage, 1 current, 2 resistance, 3 diode, 4 continuity, 5 capacitance
    uint8_t ac = 0;
    uint8_t manualRange = 0;
    uint8_t relative = 0;
    uint8_t milliamps = 1;                                         // current input: 1 mA, 0 A
    uint8_t voltRange = 2, currentRange = 1, resistanceRange = 1;  // manual range indexes
};

// The quantities at the meter's inputs, in volts, amperes, ohms and farads.
struct MeterInputs {
    double dcVolts = 5.0, acVolts = 3.3;
    double dcAmperes = 0.1234, acAmperes = 0.0456;
    double ohms = 4700.0;
    double diodeVolts = 0.612;
    double continuityOhms = 3.2;
    double farads = 47e-9;
};

class MeterModel {
  public:
    MeterState& state() { return state_; }
    const MeterState& state() const { return state_; }
    MeterInputs& inputs() { return inputs_; }

    // Switching REL on takes the present reading as the reference.
    void setRelative(bool on);
    // The 22-byte reading block; each call is one new, slightly drifted reading.
    std::vector<uint8_t> readingBlock();
    // The developer kit's 23-byte form of the same reading.
    std::vector<uint8_t> kitReadingBlock();

    // One range of the display: its count value, decimal point code ('0' xxxx,
    // '1' x.xxx, '2' xx.xx, '4' xxx.x), prefix flag and full scale in counts.
    struct Range {
        double unitsPerCount = 1;
        char decimalPoint = '0';
        uint8_t prefixFlag = 0;
        int fullScale = 6000;
    };

  private:
    struct Display;
    Display display(double value) const;
    double measuredValue();

    MeterState state_;
    MeterInputs inputs_;
    double reference_ = 0;
    Range relativeRange_;
    uint32_t readings_ = 0;
};

}  // namespace zelvo::sim
