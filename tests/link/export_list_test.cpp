// The link library exports exactly the instrument interface, nothing more.
#include <gtest/gtest.h>

#include "exported_symbols.h"

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
    "KwAbortExchange",
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
    testsupport::expectExactlyExported(ZELVO_DLL_PATH, kExports);
}

}  // namespace
