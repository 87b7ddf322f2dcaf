// Multimeter settings and readings; function generator.
#include "core/services.h"

using namespace zelvo;
using namespace zelvo::link;

extern "C" {

#define ZELVO_BYTE_SETTER(name, command)                           \
    ZELVO_API int ZELVO_CALL name(DeviceHandle h, uint8_t value) { \
        return exported(set(h, Command::command, value));          \
    }
ZELVO_BYTE_SETTER(DMMSetMeasureMode, MeterMeasureMode)
ZELVO_BYTE_SETTER(DMMSetVoltACDC, MeterVoltAcDc)
ZELVO_BYTE_SETTER(DMMSetVoltMode, MeterVoltMode)
ZELVO_BYTE_SETTER(DMMSetVoltRange, MeterVoltRange)
ZELVO_BYTE_SETTER(DMMSetVoltRel, MeterVoltRelative)
ZELVO_BYTE_SETTER(DMMSetCurrentACDC, MeterCurrentAcDc)
ZELVO_BYTE_SETTER(DMMSetCurrentMode, MeterCurrentMode)
ZELVO_BYTE_SETTER(DMMSetCurrentAmA, MeterCurrentInput)
ZELVO_BYTE_SETTER(DMMSetCurrentRange, MeterCurrentRange)
ZELVO_BYTE_SETTER(DMMSetCurrentRel, MeterCurrentRelative)
ZELVO_BYTE_SETTER(DMMSetOHMRel, MeterResistanceRelative)
ZELVO_BYTE_SETTER(DMMSetOHMMode, MeterResistanceMode)
ZELVO_BYTE_SETTER(DMMSetOHMRange, MeterResistanceRange)
ZELVO_BYTE_SETTER(DMMSetCapRel, MeterCapacitanceRelative)
ZELVO_BYTE_SETTER(DMMOpenDMM, OpenMeter)
ZELVO_BYTE_SETTER(DDSSetSyncOut, GeneratorSyncOutput)
ZELVO_BYTE_SETTER(DDSSetPowerOn, GeneratorPower)
#undef ZELVO_BYTE_SETTER

ZELVO_API int ZELVO_CALL DDSSetFrequency(DeviceHandle h, double frequency, int16_t* points,
                                         int16_t* periods) {
    if (points == nullptr || periods == nullptr) return 1;
    return exported(setGeneratorFrequency(h, frequency, *points, *periods));
}

ZELVO_API int ZELVO_CALL DDSDownload(DeviceHandle h, uint32_t count, const uint16_t* samples) {
    return exported(downloadGeneratorWave(h, count, samples));
}

}  // extern "C"
