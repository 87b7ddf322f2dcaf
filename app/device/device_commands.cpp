// The command table of the worker: what each queued (kind, argument) of a
// window becomes as one library call.  Results of scope settings are not
// examined (the next upload shows what the instrument did); a failed meter
// setting is reported.
#include <iterator>

#include "device/command_kinds.h"
#include "device/device_link.h"
#include "device/device_messages.h"
#include "shell/message_service.h"
#include "zelvo/setting_block_layout.h"

namespace oscilane {
namespace {

constexpr uint32_t kChangeFunction = kind::kChangeFunction;
constexpr uint32_t kFirstMeterKind = kind::kFirstMeter;

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
        case kind::kRunStop:  // run/stop toggle, from the state the window shows
            DSOSetStatus(h, word(d.displayedBlock, zelvo::layout::kRunStop) != 0 ? 0 : 1);
            break;
        case kind::kAutoSetup: DSOAutoSetup(h); break;
        case kind::kDefaultSetup: DSOFactorySetup(h); break;
        case kind::kTimeBase:
        case kind::kAltTimeBase0: DSOSetTimeBase(h, 0, value); break;
        case kind::kAltTimeBase0 + 1: DSOSetTimeBase(h, 1, value); break;
        case kind::kFftSource: DSOSetFFTSource(h, byte); break;
        case kind::kFftWindow: DSOSetFFTWindow(h, byte); break;
        case kind::kFftScale: DSOSetFFTScale(h, byte); break;
        case kind::kRefVoltsDown:
        case kind::kRefVoltsDown + 1: DSOSetVoltDIVChange(h, channel(kind - kind::kRefVoltsDown), 3); break;
        case kind::kCh1Reset:
        case kind::kCh2Reset: DSOResetChannel(h, channel(kind - kind::kCh1Reset)); break;
        case kind::kHorizontalTrigger: DSOSetHTriggerPos(h, 0, position); break;
        case kind::kMathOperator: DSOSetMathOperator(h, byte); break;
        case kind::kTriggerMode: DSOSetTriggerMode(h, byte); break;
        case kind::kHfReject:
        case kind::kHfReject + 1:
        case kind::kHfReject + 2: DSOSetTriggerHFReject(h, trigger(kind - kind::kHfReject), value); break;
        case kind::kWriteTdc: KwWriteTDC(h, d.tdcWriteValues[0], d.tdcWriteValues[1]); break;
        case kind::kTriggerSource: DSOSetTriggerSource(h, byte); break;
        case kind::kTriggerSweep: DSOSetTriggerSweep(h, byte); break;
        case kind::kEdgeSlope: DSOSetTriggerSlope(h, trigger(0), value); break;
        case kind::kAltEdgeSlope0:
        case kind::kAltEdgeSlope0 + 1: DSOSetTriggerSlope(h, trigger(kind - kind::kAltEdgeSlope0 + 1), value); break;
        case kind::kPulseCondition: DSOSetPulseTriggerCondition(h, trigger(0), value); break;
        case kind::kAltCondition0:
        case kind::kAltCondition0 + 1: DSOSetPulseTriggerCondition(h, trigger(kind - kind::kAltCondition0 + 1), value); break;
        case kind::kFormat: DSOSetFormat(h, byte); break;
        case kind::kCh1Shown:
        case kind::kCh1Shown + 1:
        case kind::kCh1Shown + 2:
        case kind::kCh1Shown + 3: DSOSetCHEnable(h, channel(kind - kind::kCh1Shown), value); break;
        // One volts step: the posted direction, then CH1, CH2 or MATH.
        case kind::kCh1VoltsDown:
        case kind::kCh1VoltsUp: DSOSetVoltDIVChange(h, channel(kind - kind::kCh1VoltsDown), 0); break;
        case kind::kCh2VoltsDown:
        case kind::kCh2VoltsDown + 1: DSOSetVoltDIVChange(h, channel(kind - kind::kCh2VoltsDown), 1); break;
        case kind::kMathVoltsDown:
        case kind::kMathVoltsDown + 1: DSOSetVoltDIVChange(h, channel(kind - kind::kMathVoltsDown), 2); break;
        case kind::kCh1Coupling:
        case kind::kCh1Coupling + 1: DSOSetCoupling(h, channel(kind - kind::kCh1Coupling), value); break;
        case kind::kCh1Probe:
        case kind::kCh1Probe + 1: DSOSetProbe(h, channel(kind - kind::kCh1Probe), value); break;
        case kind::kMathProbe: DSOSetProbe(h, 2, value); break;
        case kind::kCh1CoarseFine:
        case kind::kCh1CoarseFine + 1: DSOSetCoarseOrFine(h, channel(kind - kind::kCh1CoarseFine), value); break;
        case kind::kMathCoarseFine: DSOSetCoarseOrFine(h, 2, value); break;
        case kind::kCh1BwLimit:
        case kind::kCh1BwLimit + 1: DSOSetBWLimit(h, channel(kind - kind::kCh1BwLimit), value); break;
        case kind::kCh1Invert:
        case kind::kCh1Invert + 1:
        case kind::kCh1Invert + 2: DSOSetInvert(h, channel(kind - kind::kCh1Invert), value); break;
        case kind::kMathSource0:
        case kind::kMathSource0 + 1: DSOSetMathSource(h, static_cast<uint8_t>(kind - kind::kMathSource0), byte); break;
        case kind::kCh1VoltsIndex:
        case kind::kCh1VoltsIndex + 1: DSOSetVOLTDIV(h, channel(kind - kind::kCh1VoltsIndex), value); break;
        case kind::kPulseWidth:
        case kind::kPulseWidth + 1:
        case kind::kPulseWidth + 2: DSOSetPulseTriggerTime(h, trigger(kind - kind::kPulseWidth), v); break;
        case kind::kAltType0:
        case kind::kAltType0 + 1: DSOSetALTTrigType(h, channel(kind - kind::kAltType0), value); break;
        case kind::kLevel50:
        case kind::kLevel50 + 1:
        case kind::kLevel50 + 2:
            DSOSetTriggerLevel50(h, static_cast<uint8_t>(trigger(kind - kind::kLevel50)));
            break;
        case kind::kCh1Position:
        case kind::kCh1Position + 1:
        case kind::kCh1Position + 2:
        case kind::kCh1Position + 3: DSOSetChannelLeverPos(h, channel(kind - kind::kCh1Position), position); break;
        case kind::kCh1TriggerLevel:
        case kind::kCh1TriggerLevel + 1:
        case kind::kCh1TriggerLevel + 2: DSOSetVTriggerLeverPos(h, channel(kind - kind::kCh1TriggerLevel), position); break;
        case kind::kWriteWaveCalibration: {
            int32_t calibration[4];
            for (std::size_t k = 0; k < 4; ++k)
                calibration[k] = static_cast<int32_t>(d.waveCalibration[k]);
            KwWriteWaveCalData(h, calibration);
            break;
        }
        case kind::kCh1Bw100M:
        case kind::kCh1Bw100M + 1: DSOSetBW100M(h, channel(kind - kind::kCh1Bw100M), value); break;
        case kind::kEtsToggle: {  // ETS toggle; nothing to toggle when the state cannot be read
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
