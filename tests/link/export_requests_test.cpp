// Every setter sends one set request with its command code and packed value.
#include <functional>

#include "lan_fixture.h"

namespace zelvo::testing {
namespace {

constexpr DeviceHandle h = LanInstrumentTest::kHandle;

struct SetCase {
    const char* name;
    std::function<int()> call;
    uint32_t code;
    uint32_t value;
};

const SetCase kSetCases[] = {
    {"KwCheckComOK", [] { return KwCheckComOK(h); }, 1, 1},
    {"KwShutDown(1)", [] { return KwShutDown(h, 1); }, 4, 10},
    {"KwShutDown(0)", [] { return KwShutDown(h, 0); }, 5, 10},
    {"KwShutDown(2)", [] { return KwShutDown(h, 2); }, 5, 10},
    {"KwShowMenu", [] { return KwShowMenu(h, 3); }, 10, 3},
    {"KwChangeFunction", [] { return KwChangeFunction(h, 2); }, 61, 2},
    {"KwWriteTDC", [] { return KwWriteTDC(h, 1, 0x12345); }, 43, 0x22345},
    {"KwWriteWaveCalData",
     [] {
         const int32_t c[4] = {1, 2, 3, 0xFE};
         return KwWriteWaveCalData(h, c);
     },
     68, 0xFE030201},
    {"DSOSetStatus", [] { return DSOSetStatus(h, 1); }, 6, 1},
    {"DSOAutoSetup", [] { return DSOAutoSetup(h); }, 7, 1},
    {"DSOFactorySetup", [] { return DSOFactorySetup(h); }, 8, 0},
    {"DSOSetCHEnable", [] { return DSOSetCHEnable(h, 5, 1); }, 16, 0x50001},
    {"DSOSetVOLTDIV", [] { return DSOSetVOLTDIV(h, 1, 9); }, 17, 0x10009},
    {"DSOSetCoupling", [] { return DSOSetCoupling(h, 0, 2); }, 18, 0x2},
    {"DSOSetProbe", [] { return DSOSetProbe(h, 1, 3); }, 19, 0x10003},
    {"DSOSetChannelLeverPos", [] { return DSOSetChannelLeverPos(h, 1, 0x1C7); }, 20, 0x101C7},
    {"DSOResetChannel", [] { return DSOResetChannel(h, 1); }, 20, 0x10064},
    {"DSOSetInvert", [] { return DSOSetInvert(h, 0x101, 1); }, 21, 0x10001},
    {"DSOSetBWLimit", [] { return DSOSetBWLimit(h, 1, 1); }, 22, 0x10001},
    {"DSOSetVoltDIVChange", [] { return DSOSetVoltDIVChange(h, 5, 1); }, 23, 0x10005},
    {"DSOSetCoarseOrFine", [] { return DSOSetCoarseOrFine(h, 2, 1); }, 24, 0x20001},
    {"DSOSetMathOperator", [] { return DSOSetMathOperator(h, 4); }, 25, 4},
    {"DSOSetMathSource(0)", [] { return DSOSetMathSource(h, 0, 1); }, 26, 1},
    {"DSOSetMathSource(1)", [] { return DSOSetMathSource(h, 1, 0); }, 27, 0},
    {"DSOSetMathSource(7)", [] { return DSOSetMathSource(h, 7, 1); }, 27, 1},
    {"DSOSetTimeBase", [] { return DSOSetTimeBase(h, 255, 21); }, 28, 0xFF0015},
    {"DSOSetFormat", [] { return DSOSetFormat(h, 2); }, 29, 2},
    {"DSOSetHTriggerPos", [] { return DSOSetHTriggerPos(h, 255, 300); }, 31, 0xFF012C},
    {"DSOSetTriggerMode", [] { return DSOSetTriggerMode(h, 2); }, 32, 2},
    {"DSOSetTriggerSweep", [] { return DSOSetTriggerSweep(h, 1); }, 33, 1},
    {"DSOSetTriggerSource", [] { return DSOSetTriggerSource(h, 3); }, 34, 3},
    {"DSOSetTriggerSlope", [] { return DSOSetTriggerSlope(h, 0, 1); }, 35, 0x1},
    {"DSOSetPulseTriggerCondition", [] { return DSOSetPulseTriggerCondition(h, 255, 5); }, 37,
     0xFF0005},
    {"DSOSetPulseTriggerTime(1)", [] { return DSOSetPulseTriggerTime(h, 1, 200); }, 38, 0x800000C8},
    {"DSOSetPulseTriggerTime(2)", [] { return DSOSetPulseTriggerTime(h, 2, 200); }, 38, 200},
    {"DSOSetVTriggerLeverPos", [] { return DSOSetVTriggerLeverPos(h, 1, 150); }, 39, 0x10096},
    {"DSOSetTriggerHFReject", [] { return DSOSetTriggerHFReject(h, 255, 1); }, 40, 0xFF0001},
    {"DSOSetALTTrigType", [] { return DSOSetALTTrigType(h, 1, 1); }, 41, 0x10001},
    {"DSOSetFFTWindow", [] { return DSOSetFFTWindow(h, 3); }, 63, 3},
    {"DSOSetFFTSource", [] { return DSOSetFFTSource(h, 1); }, 64, 1},
    {"DSOSetFFTScale", [] { return DSOSetFFTScale(h, 1); }, 65, 1},
    {"DSOSetTriggerLevel50", [] { return DSOSetTriggerLevel50(h, 0); }, 67, 0},
    {"DSOSetBW100M", [] { return DSOSetBW100M(h, 1, 1); }, 72, 0x10001},
    {"DMMSetMeasureMode", [] { return DMMSetMeasureMode(h, 2); }, 44, 2},
    {"DMMSetVoltACDC", [] { return DMMSetVoltACDC(h, 1); }, 45, 1},
    {"DMMSetVoltMode", [] { return DMMSetVoltMode(h, 1); }, 46, 1},
    {"DMMSetVoltRange", [] { return DMMSetVoltRange(h, 3); }, 47, 3},
    {"DMMSetVoltRel", [] { return DMMSetVoltRel(h, 1); }, 48, 1},
    {"DMMSetCurrentACDC", [] { return DMMSetCurrentACDC(h, 1); }, 49, 1},
    {"DMMSetCurrentMode", [] { return DMMSetCurrentMode(h, 1); }, 50, 1},
    {"DMMSetCurrentAmA", [] { return DMMSetCurrentAmA(h, 1); }, 51, 1},
    {"DMMSetCurrentRange", [] { return DMMSetCurrentRange(h, 1); }, 52, 1},
    {"DMMSetCurrentRel", [] { return DMMSetCurrentRel(h, 1); }, 53, 1},
    {"DMMSetOHMRel", [] { return DMMSetOHMRel(h, 1); }, 54, 1},
    {"DMMSetOHMMode", [] { return DMMSetOHMMode(h, 1); }, 55, 1},
    {"DMMSetOHMRange", [] { return DMMSetOHMRange(h, 4); }, 56, 4},
    {"DMMSetCapRel", [] { return DMMSetCapRel(h, 1); }, 57, 1},
    {"DMMOpenDMM", [] { return DMMOpenDMM(h, 1); }, 62, 1},
    {"DDSSetSyncOut", [] { return DDSSetSyncOut(h, 1); }, 58, 1},
    {"DDSSetPowerOn", [] { return DDSSetPowerOn(h, 1); }, 59, 1},
    {"DDSSetFrequency",
     [] {
         int16_t p, n;
         return DDSSetFrequency(h, 1000.0, &p, &n);
     },
     60, 48},
};

void PrintTo(const SetCase& c, std::ostream* os) { *os << c.name; }

class SetRequests : public LanInstrumentTest, public ::testing::WithParamInterface<SetCase> {};

TEST_P(SetRequests, SendCodeAndPackedValueAndSucceedWhenAcknowledged) {
    const SetCase& c = GetParam();
    EXPECT_EQ(c.call(), 0);
    const DecodedRequest r = lastRequest();
    EXPECT_EQ(r.opcode, Opcode::Set);
    EXPECT_EQ(r.first, c.code);
    EXPECT_EQ(r.second, c.value) << std::hex << r.second;
}

TEST_P(SetRequests, FailWhenTheInstrumentRefuses) {
    setFaults({.refuseAcknowledgements = true});
    EXPECT_EQ(GetParam().call(), 1);
}

INSTANTIATE_TEST_SUITE_P(AllSetters, SetRequests, ::testing::ValuesIn(kSetCases),
                         [](const auto& param) {
                             std::string n = param.param.name;
                             for (char& ch : n)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return n;
                         });

using GetRequests = LanInstrumentTest;

TEST_F(GetRequests, ReadBackWhatWasSet) {
    ASSERT_EQ(KwWriteTDC(h, 0xABCD, 0x1234), 0);
    uint32_t low = 0, high = 0;
    ASSERT_EQ(KwReadTDC(h, &low, &high), 0);
    EXPECT_EQ(low, 0x1234u);
    EXPECT_EQ(high, 0xABCDu);

    const int32_t cal[4] = {9, 250, 0, 128};
    ASSERT_EQ(KwWriteWaveCalData(h, cal), 0);
    int32_t back[4] = {-1, -1, -1, -1};
    ASSERT_EQ(KwReadWaveCalData(h, back), 0);
    EXPECT_EQ(std::vector<int32_t>(back, back + 4), std::vector<int32_t>(cal, cal + 4));

    ASSERT_EQ(KwChangeFunction(h, 2), 0);
    EXPECT_EQ(KwGetFunction(h), 2);
    EXPECT_EQ(lastRequest().opcode, Opcode::Get);
    EXPECT_EQ(lastRequest().first, 61u);
}

TEST_F(GetRequests, EtsFlagIsAskedForWithValueTenAndSetReportsOneOnSuccess) {
    EXPECT_EQ(KwSetETSUpdate(h, 1), 1);
    uint8_t value = 0;
    EXPECT_EQ(KwGetETSUpdate(h, &value), 0);
    EXPECT_EQ(value, 1);
    EXPECT_EQ(lastRequest().first, 73u);
    EXPECT_EQ(lastRequest().second, 10u);
    setFaults({.refuseAcknowledgements = true});
    EXPECT_EQ(KwSetETSUpdate(h, 0), 0);
}

TEST_F(GetRequests, StatusIsCopiedAsFourBytes) {
    ASSERT_EQ(DSOSetStatus(h, 1), 0);  // stop
    uint8_t status[4] = {9, 9, 9, 9};
    ASSERT_EQ(DSOGetStatus(h, status), 0);
    EXPECT_EQ(std::vector<uint8_t>(status, status + 4), (std::vector<uint8_t>{1, 0, 0, 0}));
}

TEST_F(GetRequests, AGetSucceedsWhateverValueComesBack) {
    ASSERT_EQ(KwChangeFunction(h, 132), 0);
    EXPECT_EQ(KwGetFunction(h), 132);
}

TEST_F(GetRequests, SyncWorkNeedsNoExchange) {
    const std::size_t before = requestCount();
    EXPECT_EQ(KwSetSyncWork(h, 5), 0);
    EXPECT_EQ(requestCount(), before);
}

}  // namespace
}  // namespace zelvo::testing
