// The scope data area of a scope window's device connection: the two copies
// of the instrument's setting block and the calibration values.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "model/setting_block.h"

namespace oscilane {

struct ScopeData {
    using Block = SettingBlock;

    // Target of every upload; written only by the worker while it holds the event.
    Block uploadedBlock{};
    // Copy taken by the window's timer under the event; everything that
    // paints, measures, prints or saves reads only this one.
    Block displayedBlock{};

    uint16_t timeBaseCount = 36;  // Time/DIV entries and time-base knob positions
    uint16_t voltsStepCount = 9;  // positions of the voltage knob
    uint32_t pulseWidthStep = 1;  // step of the pulse-width control, units of 5 ns

    // Scale factors in the 1-2-5 sequence.
    std::array<double, 11> factors{0.5, 1, 2, 5, 10, 20, 50, 100, 200, 500, 1000};

    // 1 while the "Cal Data" dialog is open: every upload is then followed by KwReadTDC.
    std::atomic<uint32_t> tdcReadEnable = 0;
    std::array<uint32_t, 2> tdcWriteValues{};  // "Max Cal Data", "Min Cal Data"
    std::array<uint32_t, 2> tdcReadValues{};   // low, high from KwReadTDC
    uint32_t etsState = 0xFFFFFFFF;            // last ETS toggle; all bits set before the first
    // Per range group, the position in its list of offsets 0 .. 10, -1 .. -10.
    std::array<uint32_t, 4> waveCalibration{};
};

}  // namespace oscilane
