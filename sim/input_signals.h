// The signals applied to the simulated instrument's two inputs.
#pragma once

namespace zelvo::sim {

struct InputSignals {
    // CH1: a sine; CH2: a square wave.  Volts at the probe tip.
    double ch1Frequency = 1000.0, ch1Amplitude = 1.0, ch1Offset = 0.0;
    double ch2Frequency = 1000.0, ch2Amplitude = 0.5, ch2Offset = 0.5;
    // Peak noise in ADC codes on a live trace.
    double noiseCodes = 1.0;
    // CH1 drawn flat at a code that changes with every acquisition (the
    // signal still triggers), so a test can tell one uploaded block from the next.
    bool ch1AcquisitionCode = false;

    double volts(int channel, double t) const;
    double frequency(int channel) const { return channel == 0 ? ch1Frequency : ch2Frequency; }
    double offset(int channel) const { return channel == 0 ? ch1Offset : ch2Offset; }
};

}  // namespace zelvo::sim
