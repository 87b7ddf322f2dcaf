// The command table of the worker: what each queued (kind, argument) of a
// window becomes as one library call.  Results of scope settings are not
// examined (the next upload shows what the instrument did); a failed meter
// setting is reported.
#include <iterator>

#include "device/device_link.h"
#include "device/device_messages.h"
#include "shell/message_service.h"
#include "zelvo/setting_block_layout.h"

namespace oscilane {
namespace {

constexpr uint32_t kChangeFunction = 1;
constexpr uint32_t kFirstMeterKind = 16;

// Trigger selectors in the order the kinds of one setting come: main, then
// the two alternate-trigger channels.
constexpr int32_t kTriggerSelectors[] = {255, 0, 1};

int32_t trigger(uint32_t offset) { return kTriggerSelectors[offset]; }
int32_t channel(uint32_t offset) { return static_cast<int32_t>(offset); }

uint16_t word(const ScopeData::Block& block, std::size_t offset) {
    return static_cast<uint16_t>(block[offset] | (block[offset + 1] << 8));
}

using MeterSetter = int (*)(DeviceHandle, uint8_t);
// By kind, from kFirstMeterKind on.
constexpr MeterSetter kMeterSetters[] = {
    DMMSetMeasureMode, DMMSetVoltACDC,    DMMSetVoltRel,      DMMSetVoltMode,
    DMMSetVoltRange,   DMMSetCurrentACDC, DMMSetCurrentRel,   DMMSetCurrentMode,
    DMMSetCurrentRange, DMMSetCurrentAmA, DMMSetOHMMode,      DMMSetOHMRange,
    DMMSetOHMRel,      DMMSetCapRel,
};
static_assert(std::size(kMeterSetters) == std::size(msg::kMeterFailures));

}  // namespace

void CDeviceLink::Execute(uint32_t kind, uint32_t argument) {
    const DeviceHandle h = handle();
    if (kind == kChangeFunction) {
        KwChangeFunction(h, static_cast<uint8_t>(argument));
        return;
    }
    switch (function()) {
        case DeviceFunction::Scope: executeScope(h, kind, argument); break;
        case DeviceFunction::Meter: executeMeter(h, kind, argument); break;
        // Generator kinds 32 to 35 are accepted; their step makes no instrument call.
        case DeviceFunction::Generator: break;
    }
}

void CDeviceLink::executeMeter(DeviceHandle h, uint32_t kind, uint32_t argument) {
    const uint32_t at = kind - kFirstMeterKind;
    if (kind < kFirstMeterKind || at >= std::size(kMeterSetters)) return;
    if (kMeterSetters[at](h, static_cast<uint8_t>(argument)) != 0) {
        // The worker holds the event: the box is shown later, not waited for.
        postMessage(QString::fromLatin1(msg::kMeterFailures[at]));
        return;
    }
    if (kind == kFirstMeterKind) meterReadings_.reset();
}

void CDeviceLink::executeScope(DeviceHandle h, uint32_t kind, uint32_t v) {
    const auto value = static_cast<int32_t>(v);
    const auto byte = static_cast<uint8_t>(v);
    const auto position = static_cast<uint16_t>(v);
    ScopeData& d = scopeData_;
    switch (kind) {
        case 48:  // run/stop toggle, from the state the window shows
            DSOSetStatus(h, word(d.displayedBlock, zelvo::layout::kRunStop) != 0 ? 0 : 1);
            break;
        case 49: DSOAutoSetup(h); break;
        case 50: DSOFactorySetup(h); break;
        case 51:
        case 82: DSOSetTimeBase(h, 0, value); break;
        case 83: DSOSetTimeBase(h, 1, value); break;
        case 54: DSOSetFFTSource(h, byte); break;
        case 55: DSOSetFFTWindow(h, byte); break;
        case 56: DSOSetFFTScale(h, byte); break;
        case 57:
        case 58: DSOSetVoltDIVChange(h, channel(kind - 57), 3); break;
        case 59:
        case 60: DSOResetChannel(h, channel(kind - 59)); break;
        case 61: DSOSetHTriggerPos(h, 0, position); break;
        case 62: DSOSetMathOperator(h, byte); break;
        case 65: DSOSetTriggerMode(h, byte); break;
        case 66:
        case 67:
        case 68: DSOSetTriggerHFReject(h, trigger(kind - 66), value); break;
        case 69: KwWriteTDC(h, d.tdcWriteValues[0], d.tdcWriteValues[1]); break;
        case 70: DSOSetTriggerSource(h, byte); break;
        case 71: DSOSetTriggerSweep(h, byte); break;
        case 73: DSOSetTriggerSlope(h, trigger(0), value); break;
        case 76:
        case 77: DSOSetTriggerSlope(h, trigger(kind - 75), value); break;
        case 74: DSOSetPulseTriggerCondition(h, trigger(0), value); break;
        case 78:
        case 79: DSOSetPulseTriggerCondition(h, trigger(kind - 77), value); break;
        case 84: DSOSetFormat(h, byte); break;
        case 85:
        case 86:
        case 87:
        case 88: DSOSetCHEnable(h, channel(kind - 85), value); break;
        // One volts step: the posted direction, then CH1, CH2 or MATH.
        case 89:
        case 90: DSOSetVoltDIVChange(h, channel(kind - 89), 0); break;
        case 91:
        case 92: DSOSetVoltDIVChange(h, channel(kind - 91), 1); break;
        case 93:
        case 94: DSOSetVoltDIVChange(h, channel(kind - 93), 2); break;
        case 95:
        case 96: DSOSetCoupling(h, channel(kind - 95), value); break;
        case 97:
        case 98: DSOSetProbe(h, channel(kind - 97), value); break;
        case 107: DSOSetProbe(h, 2, value); break;
        case 99:
        case 100: DSOSetCoarseOrFine(h, channel(kind - 99), value); break;
        case 106: DSOSetCoarseOrFine(h, 2, value); break;
        case 101:
        case 102: DSOSetBWLimit(h, channel(kind - 101), value); break;
        case 103:
        case 104:
        case 105: DSOSetInvert(h, channel(kind - 103), value); break;
        case 108:
        case 109: DSOSetMathSource(h, static_cast<uint8_t>(kind - 108), byte); break;
        case 110:
        case 111: DSOSetVOLTDIV(h, channel(kind - 110), value); break;
        case 112:
        case 113:
        case 114: DSOSetPulseTriggerTime(h, trigger(kind - 112), v); break;
        case 115:
        case 116: DSOSetALTTrigType(h, channel(kind - 115), value); break;
        case 117:
        case 118:
        case 119:
            DSOSetTriggerLevel50(h, static_cast<uint8_t>(trigger(kind - 117)));
            break;
        case 120:
        case 121:
        case 122:
        case 123: DSOSetChannelLeverPos(h, channel(kind - 120), position); break;
        case 124:
        case 125:
        case 126: DSOSetVTriggerLeverPos(h, channel(kind - 124), position); break;
        case 127: {
            int32_t calibration[4];
            for (std::size_t k = 0; k < 4; ++k)
                calibration[k] = static_cast<int32_t>(d.waveCalibration[k]);
            KwWriteWaveCalData(h, calibration);
            break;
        }
        case 128:
        case 129: DSOSetBW100M(h, channel(kind - 128), value); break;
        case 130: {  // ETS toggle; nothing to toggle when the state cannot be read
            uint8_t ets = 0;
            if (KwGetETSUpdate(h, &ets) != 0) break;
            ets = static_cast<uint8_t>(ets ^ 1u);
            if (KwSetETSUpdate(h, ets) == 1) d.etsState = ets;
            break;
        }
        default: break;
    }
}

}  // namespace oscilane
