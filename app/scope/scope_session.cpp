#include "scope/scope_session.h"

#include "device/device_link.h"
#include "device/device_worker.h"
#include "model/scope_settings.h"
#include "zelvo/command_codes.h"
#include "zelvo/setting_block_layout.h"

namespace oscilane {
namespace {

// How much of the automatic interval the two closing sleeps of a cycle make up for.
constexpr int kIntervalAllowanceMs = 40;

// Trigger selectors of the trigger records: main, then the two alternate-trigger channels.
constexpr int32_t kTriggerSelectors[] = {zelvo::kMainTriggerSelector, kCh1, kCh2};

int32_t trigger(int record) { return kTriggerSelectors[record]; }

uint16_t word(const ScopeData::Block& block, std::size_t offset) {
    return static_cast<uint16_t>(block[offset] | (block[offset + 1] << 8));
}

}  // namespace

std::array<int, 3> scopeCycleSleepsMs(uint16_t updateMode, uint16_t intervalIndex) {
    const int first =
        updateMode == kUpdateAutomatic ? updateIntervalMs(intervalIndex) - kIntervalAllowanceMs : 0;
    return {first, pace::kSettleMs, pace::kIdleMs};
}

void ScopeSession::runPass(CDeviceLink& link, DeviceWorker& worker) {
    if (!link.beginCycle(worker, true)) return;
    const LinkSettings s = link.settings();
    const bool requested = link.takeUploadRequest();
    if (s.updateMode == kUpdateAutomatic || requested) {
        upload(link);
        link.markNewData();
    }
    link.event().set();
    for (int ms : scopeCycleSleepsMs(s.updateMode, s.intervalIndex))
        if (ms > 0 && !worker.sleep(ms)) return;
}

void ScopeSession::upload(CDeviceLink& link) {
    const DeviceHandle h = link.handle();
    if (link.settings().transport == transport::kSerial) link.setSlowUpload(true);
    if (DSOUploadSetting(h, data_.uploadedBlock.data()) == 0 && data_.tdcReadEnable == 1)
        KwReadTDC(h, &data_.tdcReadValues[0], &data_.tdcReadValues[1]);
    link.setSlowUpload(false);
}

void ScopeSession::execute(DeviceHandle h, CommandKind k, uint32_t v) {
    using K = CommandKind;
    const auto value = static_cast<int32_t>(v);
    const auto byte = static_cast<uint8_t>(v);
    const auto position = static_cast<uint16_t>(v);
    // The place of k in its row: the channel, ALT channel or trigger record.
    const auto at = [k](K first) { return kind::placeInRow(k, first); };
    ScopeData& d = data_;
    switch (k) {
        case K::RunStop:  // run/stop toggle, from the state the window shows
            DSOSetStatus(h, word(d.displayedBlock, zelvo::layout::kRunStop) != 0 ? 0 : 1);
            break;
        case K::AutoSetup:
            DSOAutoSetup(h);
            break;
        case K::DefaultSetup:
            DSOFactorySetup(h);
            break;
        case K::TimeBase:
        case kind::altTimeBase(0):
            DSOSetTimeBase(h, 0, value);
            break;
        case kind::altTimeBase(1):
            DSOSetTimeBase(h, 1, value);
            break;
        case K::FftSource:
            DSOSetFFTSource(h, byte);
            break;
        case K::FftWindow:
            DSOSetFFTWindow(h, byte);
            break;
        case K::FftScale:
            DSOSetFFTScale(h, byte);
            break;
        case K::RefVoltsDown:
        case K::RefVoltsUp:
            DSOSetVoltDIVChange(h, at(K::RefVoltsDown), kRef);
            break;
        case K::Ch1Reset:
        case K::Ch2Reset:
            DSOResetChannel(h, at(K::Ch1Reset));
            break;
        case K::HorizontalTrigger:
            DSOSetHTriggerPos(h, 0, position);
            break;
        case K::MathOperator:
            DSOSetMathOperator(h, byte);
            break;
        case K::TriggerMode:
            DSOSetTriggerMode(h, byte);
            break;
        case K::HfReject:
        case kind::nth(K::HfReject, 1):
        case kind::nth(K::HfReject, 2):
            DSOSetTriggerHFReject(h, trigger(at(K::HfReject)), value);
            break;
        case K::WriteTdc:
            KwWriteTDC(h, d.tdcWriteValues[0], d.tdcWriteValues[1]);
            break;
        case K::TriggerSource:
            DSOSetTriggerSource(h, byte);
            break;
        case K::TriggerSweep:
            DSOSetTriggerSweep(h, byte);
            break;
        case K::EdgeSlope:
            DSOSetTriggerSlope(h, trigger(0), value);
            break;
        case kind::altEdgeSlope(0):
        case kind::altEdgeSlope(1):
            DSOSetTriggerSlope(h, trigger(at(K::AltEdgeSlope0) + 1), value);
            break;
        case K::PulseCondition:
            DSOSetPulseTriggerCondition(h, trigger(0), value);
            break;
        case kind::altCondition(0):
        case kind::altCondition(1):
            DSOSetPulseTriggerCondition(h, trigger(at(K::AltCondition0) + 1), value);
            break;
        case K::Format:
            DSOSetFormat(h, byte);
            break;
        case kind::shown(0):
        case kind::shown(1):
        case kind::shown(2):
        case kind::shown(3):
            DSOSetCHEnable(h, at(K::Ch1Shown), value);
            break;
        // One volts step: the posted direction, then CH1, CH2 or MATH.
        case kind::voltsStep(0, false):
        case kind::voltsStep(0, true):
            DSOSetVoltDIVChange(h, at(kind::voltsStep(0, false)), 0);
            break;
        case kind::voltsStep(1, false):
        case kind::voltsStep(1, true):
            DSOSetVoltDIVChange(h, at(kind::voltsStep(1, false)), 1);
            break;
        case kind::voltsStep(2, false):
        case kind::voltsStep(2, true):
            DSOSetVoltDIVChange(h, at(kind::voltsStep(2, false)), 2);
            break;
        case kind::coupling(0):
        case kind::coupling(1):
            DSOSetCoupling(h, at(K::Ch1Coupling), value);
            break;
        case kind::probe(0):
        case kind::probe(1):
            DSOSetProbe(h, at(K::Ch1Probe), value);
            break;
        case K::MathProbe:
            DSOSetProbe(h, 2, value);
            break;
        case K::Ch1CoarseFine:
        case kind::nth(K::Ch1CoarseFine, 1):
            DSOSetCoarseOrFine(h, at(K::Ch1CoarseFine), value);
            break;
        case K::MathCoarseFine:
            DSOSetCoarseOrFine(h, 2, value);
            break;
        case K::Ch1BwLimit:
        case kind::nth(K::Ch1BwLimit, 1):
            DSOSetBWLimit(h, at(K::Ch1BwLimit), value);
            break;
        case K::Ch1Invert:
        case kind::nth(K::Ch1Invert, 1):
        case kind::nth(K::Ch1Invert, 2):
            DSOSetInvert(h, at(K::Ch1Invert), value);
            break;
        case K::MathSource0:
        case kind::nth(K::MathSource0, 1):
            DSOSetMathSource(h, static_cast<uint8_t>(at(K::MathSource0)), byte);
            break;
        case kind::voltsIndex(0):
        case kind::voltsIndex(1):
            DSOSetVOLTDIV(h, at(K::Ch1VoltsIndex), value);
            break;
        case kind::pulseWidth(0):
        case kind::pulseWidth(1):
        case kind::pulseWidth(2):
            DSOSetPulseTriggerTime(h, trigger(at(K::PulseWidth)), v);
            break;
        case kind::altType(0):
        case kind::altType(1):
            DSOSetALTTrigType(h, at(K::AltType0), value);
            break;
        case K::Level50:
        case kind::nth(K::Level50, 1):
        case kind::nth(K::Level50, 2):
            DSOSetTriggerLevel50(h, static_cast<uint8_t>(trigger(at(K::Level50))));
            break;
        case kind::position(0):
        case kind::position(1):
        case kind::position(2):
        case kind::position(3):
            DSOSetChannelLeverPos(h, at(K::Ch1Position), position);
            break;
        case kind::triggerLevel(0):
        case kind::triggerLevel(1):
        case kind::triggerLevel(2):
            DSOSetVTriggerLeverPos(h, at(K::Ch1TriggerLevel), position);
            break;
        case K::WriteWaveCalibration: {
            int32_t calibration[4];
            for (std::size_t i = 0; i < 4; ++i)
                calibration[i] = static_cast<int32_t>(d.waveCalibration[i]);
            KwWriteWaveCalData(h, calibration);
            break;
        }
        case K::Ch1Bw100M:
        case kind::nth(K::Ch1Bw100M, 1):
            DSOSetBW100M(h, at(K::Ch1Bw100M), value);
            break;
        case K::EtsToggle: {  // ETS toggle; nothing to toggle when the state cannot be read
            uint8_t ets = 0;
            if (KwGetETSUpdate(h, &ets) != 0) break;
            ets = static_cast<uint8_t>(ets ^ 1u);
            if (KwSetETSUpdate(h, ets) == 1) d.etsState = ets;
            break;
        }
        default:
            break;
    }
}

}  // namespace oscilane
