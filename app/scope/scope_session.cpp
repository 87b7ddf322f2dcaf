#include "scope/scope_session.h"

#include <optional>

#include "device/device_link.h"
#include "device/device_worker.h"
#include "scope/scope_commands.h"
#include "scope/scope_setup_commands.h"
#include "zelvo/command_codes.h"
#include "zelvo/setting_block_layout.h"

namespace oscilane {
namespace {

// How much of the automatic interval the two closing sleeps of a cycle make up for.
constexpr int kIntervalAllowanceMs = 40;

int32_t selector(TriggerRecord record) {
    switch (record) {
        case TriggerRecord::Main:
            break;
        case TriggerRecord::AltFirst:
            return static_cast<int32_t>(AltChannel::First);
        case TriggerRecord::AltSecond:
            return static_cast<int32_t>(AltChannel::Second);
    }
    return zelvo::kMainTriggerSelector;
}

uint16_t word(const ScopeData::Block& block, std::size_t offset) {
    return static_cast<uint16_t>(block[offset] | (block[offset + 1] << 8));
}

}  // namespace

// A recall's commands go the way every scope command goes, through execute;
// the upload after them is the cycle's upload.
class ScopeSession::SessionSetupPort final : public SetupPort {
  public:
    SessionSetupPort(ScopeSession& session, CDeviceLink& link) : session_(session), link_(link) {}
    bool send(const SetupChange& change) override {
        session_.execute(link_.handle(), setupCommand(change));
        return true;  // scope setting results are not examined
    }
    // The block is the uploaded block, which the session's upload fills.
    bool upload(SettingBlock&) override { return session_.upload(link_); }

  private:
    ScopeSession& session_;
    CDeviceLink& link_;
};

std::array<int, 3> scopeCycleSleepsMs(uint16_t updateMode, uint16_t intervalIndex) {
    const int first =
        updateMode == kUpdateAutomatic ? updateIntervalMs(intervalIndex) - kIntervalAllowanceMs : 0;
    return {first, pace::kSettleMs, pace::kIdleMs};
}

void ScopeSession::connected() {
    uploads_.request();
    std::lock_guard lock(recallMutex_);
    recall_.reset();
}

void ScopeSession::recallSetup(const SetupValues& saved, RecallDone done) {
    std::lock_guard lock(recallMutex_);
    recall_ = PendingRecall{saved, std::move(done)};
}

void ScopeSession::runPass(CDeviceLink& link, DeviceWorker& worker) {
    if (!link.beginCycle(worker, true)) return;
    const LinkSettings s = link.settings();
    const bool requested = uploads_.takeRequest();
    if (runRecall(link)) {
        uploads_.markNewData();
    } else if (s.updateMode == kUpdateAutomatic || requested) {
        upload(link);
        uploads_.markNewData();
    }
    link.event().set();
    for (int ms : scopeCycleSleepsMs(s.updateMode, s.intervalIndex))
        if (ms > 0 && !worker.sleep(ms)) return;
}

bool ScopeSession::upload(CDeviceLink& link) {
    const DeviceHandle h = link.handle();
    if (link.settings().transport == Transport::Serial) uploads_.setSlow(true);
    const bool uploaded = DSOUploadSetting(h, data_.uploadedBlock.data()) == 0;
    if (uploaded && data_.tdcReadEnable == 1)
        KwReadTDC(h, &data_.tdcReadValues[0], &data_.tdcReadValues[1]);
    uploads_.setSlow(false);
    return uploaded;
}

bool ScopeSession::runRecall(CDeviceLink& link) {
    std::optional<PendingRecall> recall;
    {
        std::lock_guard lock(recallMutex_);
        recall.swap(recall_);
    }
    if (!recall) return false;
    // The plan starts from the instrument's state of now, not from the
    // displayed copy, which may be a cycle old.
    SetupRecallResult result;
    if (upload(link)) {
        const SetupValues present = ReadSetup(data_.uploadedBlock);
        SessionSetupPort port(*this, link);
        result = RecallSetup(recall->saved, present, port, data_.uploadedBlock);
    }
    recall->done(result);
    return true;
}

void ScopeSession::execute(DeviceHandle h, QueuedCommand c) {
    using K = ScopeCommandKind;
    namespace rows = scope_rows;
    const auto k = static_cast<K>(c.kind);
    const uint32_t v = c.argument;
    const auto value = static_cast<int32_t>(v);
    const auto byte = static_cast<uint8_t>(v);
    const auto lever = static_cast<uint16_t>(v);
    ScopeData& d = data_;
    switch (k) {
        case K::RunStop:  // run/stop toggle, from the state the window shows
            DSOSetStatus(h, word(d.displayedBlock, zelvo::layout::kRunStop) != 0 ? 0 : 1);
            return;
        case K::Run:  // status 0 runs
            DSOSetStatus(h, v != 0 ? 0 : 1);
            return;
        case K::AutoSetup:
            DSOAutoSetup(h);
            return;
        case K::DefaultSetup:
            DSOFactorySetup(h);
            return;
        case K::FftSource:
            DSOSetFFTSource(h, byte);
            return;
        case K::FftWindow:
            DSOSetFFTWindow(h, byte);
            return;
        case K::FftScale:
            DSOSetFFTScale(h, byte);
            return;
        case K::HorizontalTrigger:
            DSOSetHTriggerPos(h, 0, lever);
            return;
        case K::MathOperator:
            DSOSetMathOperator(h, byte);
            return;
        case K::TriggerMode:
            DSOSetTriggerMode(h, byte);
            return;
        case K::WriteTdc:
            KwWriteTDC(h, d.tdcWriteValues[0], d.tdcWriteValues[1]);
            return;
        case K::TriggerSource:
            DSOSetTriggerSource(h, byte);
            return;
        case K::TriggerSweep:
            DSOSetTriggerSweep(h, byte);
            return;
        case K::Format:
            DSOSetFormat(h, byte);
            return;
        case K::WriteWaveCalibration: {
            int32_t calibration[4];
            for (std::size_t i = 0; i < 4; ++i)
                calibration[i] = static_cast<int32_t>(d.waveCalibration[i]);
            KwWriteWaveCalData(h, calibration);
            return;
        }
        case K::EtsToggle: {  // nothing to toggle when the state cannot be read
            uint8_t ets = 0;
            if (KwGetETSUpdate(h, &ets) != 0) return;
            ets = static_cast<uint8_t>(ets ^ 1u);
            if (KwSetETSUpdate(h, ets) == 1) d.etsState = ets;
            return;
        }
        default:
            break;
    }
    // Settings of one channel, record or operand: the row the kind stands in
    // names its target.
    const auto channel = [k](const auto& row) -> std::optional<int> {
        if (const auto i = rows::placeIn(row, k)) return static_cast<int>(*i);
        return std::nullopt;
    };
    const auto record = [k](const auto& row) -> std::optional<TriggerRecord> {
        if (const auto i = rows::placeIn(row, k)) return static_cast<TriggerRecord>(*i);
        return std::nullopt;
    };
    if (const auto r = record(rows::kTimeBase)) {
        DSOSetTimeBase(h, *r == TriggerRecord::AltSecond ? 1 : 0, value);
        return;
    }
    if (const auto r = record(rows::kHfReject)) {
        DSOSetTriggerHFReject(h, selector(*r), value);
        return;
    }
    if (const auto r = record(rows::kEdgeSlope)) {
        DSOSetTriggerSlope(h, selector(*r), value);
        return;
    }
    if (const auto r = record(rows::kPulseCondition)) {
        DSOSetPulseTriggerCondition(h, selector(*r), value);
        return;
    }
    if (const auto r = record(rows::kPulseWidth)) {
        DSOSetPulseTriggerTime(h, selector(*r), v);
        return;
    }
    if (const auto r = record(rows::kLevel50)) {
        DSOSetTriggerLevel50(h, static_cast<uint8_t>(selector(*r)));
        return;
    }
    if (const auto alt = channel(rows::kAltType)) {
        DSOSetALTTrigType(h, *alt, value);
        return;
    }
    if (const auto ch = channel(rows::kShown)) {
        DSOSetCHEnable(h, *ch, value);
        return;
    }
    if (const auto ch = channel(rows::kVoltsDown)) {
        DSOSetVoltDIVChange(h, 0, *ch);
        return;
    }
    if (const auto ch = channel(rows::kVoltsUp)) {
        DSOSetVoltDIVChange(h, 1, *ch);
        return;
    }
    if (const auto ch = channel(rows::kPosition)) {
        DSOSetChannelLeverPos(h, *ch, lever);
        return;
    }
    if (const auto ch = channel(rows::kProbe)) {
        DSOSetProbe(h, *ch, value);
        return;
    }
    if (const auto ch = channel(rows::kCoarseFine)) {
        DSOSetCoarseOrFine(h, *ch, value);
        return;
    }
    if (const auto ch = channel(rows::kInvert)) {
        DSOSetInvert(h, *ch, value);
        return;
    }
    if (const auto ch = channel(rows::kCoupling)) {
        DSOSetCoupling(h, *ch, value);
        return;
    }
    if (const auto ch = channel(rows::kBwLimit)) {
        DSOSetBWLimit(h, *ch, value);
        return;
    }
    if (const auto ch = channel(rows::kBw100M)) {
        DSOSetBW100M(h, *ch, value);
        return;
    }
    if (const auto ch = channel(rows::kVoltsIndex)) {
        DSOSetVOLTDIV(h, *ch, value);
        return;
    }
    if (const auto ch = channel(rows::kReset)) {
        DSOResetChannel(h, *ch);
        return;
    }
    if (const auto source = channel(rows::kTriggerLevel)) {
        DSOSetVTriggerLeverPos(h, *source, lever);
        return;
    }
    if (const auto operand = channel(rows::kMathSource))
        DSOSetMathSource(h, static_cast<uint8_t>(*operand), byte);
}

}  // namespace oscilane
