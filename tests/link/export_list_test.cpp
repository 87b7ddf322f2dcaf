// The link library exports exactly the instrument interface, nothing more.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

namespace {

const std::set<std::string> kExports = {
    "KwGetUSBDeviceList",
    "KwUSBCheckConnect",
    "KwComInit",
    "KwComClose",
    "KwGetCOMDeviceList",
    "KwGetCOMPortPath",
    "KwCheckComOK",
    "KwLanInit",
    "KwLanClose",
    "KwSetSyncWork",
    "KwGetDeviceInfo",
    "KwScreenShoot",
    "KwShutDown",
    "KwShowMenu",
    "KwChangeFunction",
    "KwGetFunction",
    "KwWriteTDC",
    "KwReadTDC",
    "KwSetETSUpdate",
    "KwGetETSUpdate",
    "KwWriteWaveCalData",
    "KwReadWaveCalData",
    "DSOGetStatus",
    "DSOSetStatus",
    "DSOAutoSetup",
    "DSOFactorySetup",
    "DSOSetCHEnable",
    "DSOSetVOLTDIV",
    "DSOSetCoupling",
    "DSOSetProbe",
    "DSOSetChannelLeverPos",
    "DSOResetChannel",
    "DSOSetInvert",
    "DSOSetBWLimit",
    "DSOSetVoltDIVChange",
    "DSOSetCoarseOrFine",
    "DSOSetMathOperator",
    "DSOSetMathSource",
    "DSOSetTimeBase",
    "DSOSetFormat",
    "DSOSetHTriggerPos",
    "DSOSetTriggerMode",
    "DSOSetTriggerSweep",
    "DSOSetTriggerSource",
    "DSOSetTriggerSlope",
    "DSOSetPulseTriggerCondition",
    "DSOSetPulseTriggerTime",
    "DSOSetVTriggerLeverPos",
    "DSOSetTriggerHFReject",
    "DSOSetALTTrigType",
    "DSOSetFFTWindow",
    "DSOSetFFTSource",
    "DSOSetFFTScale",
    "DSOSetTriggerLevel50",
    "DSOSetBW100M",
    "DSOUploadSetting",
    "KwGetBlockProgress",
    "KwCancelBlockRead",
    "DMMSetMeasureMode",
    "DMMSetVoltACDC",
    "DMMSetVoltMode",
    "DMMSetVoltRange",
    "DMMSetVoltRel",
    "DMMSetCurrentACDC",
    "DMMSetCurrentMode",
    "DMMSetCurrentAmA",
    "DMMSetCurrentRange",
    "DMMSetCurrentRel",
    "DMMSetOHMRel",
    "DMMSetOHMMode",
    "DMMSetOHMRange",
    "DMMSetCapRel",
    "DMMOpenDMM",
    "DMMGetInfo",
    "DDSSetSyncOut",
    "DDSSetPowerOn",
    "DDSSetFrequency",
    "DDSDownload",
};

TEST(ExportList, IsExactlyTheInstrumentInterface) {
    const std::string command = std::string("nm -D --defined-only ") + ZELVO_DLL_PATH;
    FILE* nm = ::popen(command.c_str(), "r");
    ASSERT_NE(nm, nullptr);
    std::set<std::string> exported;
    char line[512];
    while (std::fgets(line, sizeof line, nm)) {
        char type = 0;
        char name[400];
        if (std::sscanf(line, "%*s %c %399s", &type, name) == 2) exported.insert(name);
    }
    ASSERT_EQ(::pclose(nm), 0) << command;
    for (const std::string& name : kExports)
        EXPECT_TRUE(exported.count(name)) << "missing " << name;
    for (const std::string& name : exported)
        EXPECT_TRUE(kExports.count(name)) << "unexpected export " << name;
}

}  // namespace
