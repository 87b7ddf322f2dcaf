// Oscilloscope settings both link libraries offer: one set exchange each.
#include <cstring>

#include "exports/setter_helpers.h"
#include "protocol/byte_order.h"

using namespace zelvo;
using namespace zelvo::link;

extern "C" {

ZELVO_API int ZELVO_CALL DSOGetStatus(DeviceHandle h, void* out) {
    if (out == nullptr) return 1;
    const GetResult r = get(h, Command::RunStatus);
    if (r.outcome != Outcome::Ok) return 1;
    uint8_t bytes[4];
    storeLe32(bytes, 0, r.value);
    std::memcpy(out, bytes, sizeof bytes);
    return 0;
}

ZELVO_API int ZELVO_CALL DSOSetStatus(DeviceHandle h, uint8_t status) {
    return setByte(h, Command::RunStatus, status);
}

ZELVO_API int ZELVO_CALL DSOAutoSetup(DeviceHandle h) { return setByte(h, Command::AutoSetup, 1); }

ZELVO_API int ZELVO_CALL DSOFactorySetup(DeviceHandle h) {
    return setByte(h, Command::FactorySetup, 0);
}

ZELVO_API int ZELVO_CALL DSOSetCHEnable(DeviceHandle h, int32_t channel, int32_t value) {
    return setPair(h, Command::ChannelEnable, channel, value);
}

ZELVO_API int ZELVO_CALL DSOSetCoupling(DeviceHandle h, int32_t channel, int32_t value) {
    return setPair(h, Command::Coupling, channel, value);
}

ZELVO_API int ZELVO_CALL DSOSetProbe(DeviceHandle h, int32_t channel, int32_t value) {
    return setPair(h, Command::Probe, channel, value);
}

ZELVO_API int ZELVO_CALL DSOSetChannelLeverPos(DeviceHandle h, int32_t channel, uint16_t position) {
    return setPairWord(h, Command::ChannelPosition, channel, position);
}

ZELVO_API int ZELVO_CALL DSOResetChannel(DeviceHandle h, int32_t channel) {
    return setPairWord(h, Command::ChannelPosition, channel, 100);
}

ZELVO_API int ZELVO_CALL DSOSetInvert(DeviceHandle h, int32_t channel, int32_t value) {
    return setPair(h, Command::Invert, channel, value);
}

ZELVO_API int ZELVO_CALL DSOSetVoltDIVChange(DeviceHandle h, int32_t value, int32_t channel) {
    return setPair(h, Command::VoltsPerDivisionStep, channel, value);
}

ZELVO_API int ZELVO_CALL DSOSetCoarseOrFine(DeviceHandle h, int32_t channel, int32_t value) {
    return setPair(h, Command::CoarseOrFine, channel, value);
}

ZELVO_API int ZELVO_CALL DSOSetMathOperator(DeviceHandle h, uint8_t op) {
    return setByte(h, Command::MathOperator, op);
}

ZELVO_API int ZELVO_CALL DSOSetMathSource(DeviceHandle h, uint8_t which, uint8_t source) {
    return setByte(h, which == 0 ? Command::MathSourceFirst : Command::MathSourceSecond, source);
}

ZELVO_API int ZELVO_CALL DSOSetFormat(DeviceHandle h, uint8_t format) {
    return setByte(h, Command::DisplayFormat, format);
}

ZELVO_API int ZELVO_CALL DSOSetHTriggerPos(DeviceHandle h, int32_t selector, uint16_t position) {
    return setPairWord(h, Command::HorizontalTriggerPosition, selector, position);
}

ZELVO_API int ZELVO_CALL DSOSetTriggerMode(DeviceHandle h, uint8_t mode) {
    return setByte(h, Command::TriggerMode, mode);
}

ZELVO_API int ZELVO_CALL DSOSetTriggerSweep(DeviceHandle h, uint8_t sweep) {
    return setByte(h, Command::TriggerSweep, sweep);
}

ZELVO_API int ZELVO_CALL DSOSetTriggerSource(DeviceHandle h, uint8_t source) {
    return setByte(h, Command::TriggerSource, source);
}

ZELVO_API int ZELVO_CALL DSOSetTriggerSlope(DeviceHandle h, int32_t selector, int32_t value) {
    return setPair(h, Command::TriggerSlope, selector, value);
}

ZELVO_API int ZELVO_CALL DSOSetPulseTriggerCondition(DeviceHandle h, int32_t selector,
                                                     int32_t value) {
    return setPair(h, Command::PulseTriggerCondition, selector, value);
}

ZELVO_API int ZELVO_CALL DSOSetPulseTriggerTime(DeviceHandle h, int32_t selector, uint32_t time) {
    return exported(set(h, Command::PulseTriggerTime, packPulseTime(selector, time)));
}

ZELVO_API int ZELVO_CALL DSOSetVTriggerLeverPos(DeviceHandle h, int32_t selector,
                                                uint16_t position) {
    return setPairWord(h, Command::TriggerLevelPosition, selector, position);
}

ZELVO_API int ZELVO_CALL DSOSetTriggerHFReject(DeviceHandle h, int32_t selector, int32_t value) {
    return setPair(h, Command::TriggerHfReject, selector, value);
}

ZELVO_API int ZELVO_CALL DSOSetALTTrigType(DeviceHandle h, int32_t selector, int32_t value) {
    return setPair(h, Command::AltTriggerType, selector, value);
}

ZELVO_API int ZELVO_CALL DSOSetFFTWindow(DeviceHandle h, uint8_t window) {
    return setByte(h, Command::FftWindow, window);
}

ZELVO_API int ZELVO_CALL DSOSetFFTSource(DeviceHandle h, uint8_t source) {
    return setByte(h, Command::FftSource, source);
}

ZELVO_API int ZELVO_CALL DSOSetFFTScale(DeviceHandle h, uint8_t scale) {
    return setByte(h, Command::FftScale, scale);
}

ZELVO_API int ZELVO_CALL DSOSetTriggerLevel50(DeviceHandle h, uint8_t value) {
    return setByte(h, Command::TriggerLevel50, value);
}

ZELVO_API int ZELVO_CALL DSOSetBW100M(DeviceHandle h, int32_t channel, int32_t value) {
    return setPair(h, Command::Bandwidth100M, channel, value);
}

}  // extern "C"
