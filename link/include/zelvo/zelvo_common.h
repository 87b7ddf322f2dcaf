/*
 * What the Zelvo's two link libraries share: the calling convention, the
 * device handle, the device information record and the exports both offer.
 * Include ZelvoDLL.h (libZelvoDLL.so) or sdkZelvoDLL.h (the developer kit,
 * libsdkZelvoDLL.so), which declare the rest of each library.
 *
 * Every function takes a DeviceHandle first, performs one exchange with the
 * instrument over the link the handle names and returns 0 on success, 1 on
 * failure (exceptions are noted at the function).  Buffers always belong to
 * the caller.  Calls for one link must not overlap; different links are
 * independent.
 *
 * Exported names.  The Win32 build uses the stdcall convention and exports
 * some names with their stdcall decoration (see the .def files):
 *   _DDSDownload@12  _DDSSetFrequency@20  _DDSSetPowerOn@8  _DDSSetSyncOut@8
 *   _DSOSetFFTScale@8  _DSOSetFFTSource@8  _DSOSetFFTWindow@8  _KwGetFunction@4
 * (the developer kit exports the last four undecorated, and adds
 * _KwNetCheckConnect@8).  An ELF symbol cannot carry "@N", so on Linux every
 * function is exported under the plain name declared here.
 */
#ifndef ZELVO_ZELVO_COMMON_H
#define ZELVO_ZELVO_COMMON_H

#include <stdint.h>

#if defined(_WIN32)
#define ZELVO_CALL __stdcall
#if defined(ZELVO_BUILDING_LIBRARY)
#define ZELVO_API __declspec(dllexport)
#else
#define ZELVO_API __declspec(dllimport)
#endif
#else
#define ZELVO_CALL
#define ZELVO_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Bits 16-31: link kind (0 USB, 1 serial, 2 LAN; any other value is USB).
 * Bits 0-15: USB device index or serial/LAN slot 0-15. */
typedef uint32_t DeviceHandle;

#define ZELVO_LINK_USB 0u
#define ZELVO_LINK_SERIAL 1u
#define ZELVO_LINK_LAN 2u
#define ZELVO_HANDLE(kind, number) (((uint32_t)(kind) << 16) | ((uint32_t)(number)&0xFFFFu))

typedef struct DeviceInfo {
    char name[20];         /* NUL-terminated */
    char serialNumber[20]; /* NUL-terminated */
    uint16_t identification[5];
    uint32_t date; /* year * 65536 + month * 256 + day */
} DeviceInfo;

/* A decoded meter reading of the link library (the kit has its own record). */
typedef struct DmmInfo {
    uint8_t
        measureMode;  /* 0 voltage, 1 current, 2 resistance, 3 diode, 4 continuity, 5 capacitance */
    uint8_t overload; /* 1 when a display digit was not numeric */
    float value;      /* displayed number, scaled by the decimal point, signed */
    int32_t decimalScale; /* 0..3 for the decimal point codes '0', '1', '2', '4' */
    int32_t prefixIndex;  /* 1 n, 2 u, 3 m, 4 k, 5 M, 7 none */
    int32_t unitIndex;    /* 0 V, 1 A, 2 Ohm, 3 F */
    uint8_t ac;
    uint8_t manualRange;
    uint8_t rel;
    uint8_t rangeIndex; /* written only in manual range */
    uint8_t milliamps;  /* written only in current mode */
    uint8_t barValue;
    uint8_t barSign;
    float auxValue;
    uint8_t auxA;
    uint8_t auxB;
    uint8_t auxC;
} DmmInfo;

/* ---- Link management and instrument services ---- */

/* Fills list[k] with 1 for each present USB instrument; returns their number. */
ZELVO_API int ZELVO_CALL KwGetUSBDeviceList(uint8_t list[16]);
/* 0 when USB device h can be opened. */
ZELVO_API int ZELVO_CALL KwUSBCheckConnect(DeviceHandle h);
/* Does nothing; always 0. */
ZELVO_API int ZELVO_CALL KwSetSyncWork(DeviceHandle h, int32_t value);
ZELVO_API int ZELVO_CALL KwGetDeviceInfo(DeviceHandle h, DeviceInfo* info);
/* Writes the instrument's screen as a 320 x 240 24-bit bitmap file. */
ZELVO_API int ZELVO_CALL KwScreenShoot(DeviceHandle h, const char* path);
ZELVO_API int ZELVO_CALL KwShutDown(DeviceHandle h, uint8_t flag);
ZELVO_API int ZELVO_CALL KwShowMenu(DeviceHandle h, uint8_t value);
ZELVO_API int ZELVO_CALL KwChangeFunction(DeviceHandle h, uint8_t function);
/* The current function, or -1 when the exchange failed. (Win32: _KwGetFunction@4) */
ZELVO_API int ZELVO_CALL KwGetFunction(DeviceHandle h);
/* Sends (high << 16) + low; neither part is masked. */
ZELVO_API int ZELVO_CALL KwWriteTDC(DeviceHandle h, uint32_t high, uint32_t low);
ZELVO_API int ZELVO_CALL KwReadTDC(DeviceHandle h, uint32_t* low, uint32_t* high);
/* cal[k] is byte k of the calibration word. */
ZELVO_API int ZELVO_CALL KwWriteWaveCalData(DeviceHandle h, const int32_t cal[4]);
ZELVO_API int ZELVO_CALL KwReadWaveCalData(DeviceHandle h, int32_t cal[4]);

/* ---- Oscilloscope ----
 * Two-argument setters: the selector is the channel (0 CH1, 1 CH2, 2 MATH,
 * 3 REF) or, for trigger settings, 255 main trigger and 0/1 alternate trigger.
 * Only the low byte of byte-wide arguments is sent. */

/* Copies the instrument's 4-byte run status to out. */
ZELVO_API int ZELVO_CALL DSOGetStatus(DeviceHandle h, void* out);
ZELVO_API int ZELVO_CALL DSOSetStatus(DeviceHandle h, uint8_t status);
ZELVO_API int ZELVO_CALL DSOAutoSetup(DeviceHandle h);
ZELVO_API int ZELVO_CALL DSOFactorySetup(DeviceHandle h);
ZELVO_API int ZELVO_CALL DSOSetCHEnable(DeviceHandle h, int32_t channel, int32_t value);
ZELVO_API int ZELVO_CALL DSOSetVOLTDIV(DeviceHandle h, int32_t channel, int32_t value);
ZELVO_API int ZELVO_CALL DSOSetCoupling(DeviceHandle h, int32_t channel, int32_t value);
ZELVO_API int ZELVO_CALL DSOSetProbe(DeviceHandle h, int32_t channel, int32_t value);
ZELVO_API int ZELVO_CALL DSOSetChannelLeverPos(DeviceHandle h, int32_t channel, uint16_t position);
/* Moves the channel back to position 100. */
ZELVO_API int ZELVO_CALL DSOResetChannel(DeviceHandle h, int32_t channel);
ZELVO_API int ZELVO_CALL DSOSetInvert(DeviceHandle h, int32_t channel, int32_t value);
/* One volts-per-division step; note the order: value first, then channel. */
ZELVO_API int ZELVO_CALL DSOSetVoltDIVChange(DeviceHandle h, int32_t value, int32_t channel);
ZELVO_API int ZELVO_CALL DSOSetCoarseOrFine(DeviceHandle h, int32_t channel, int32_t value);
ZELVO_API int ZELVO_CALL DSOSetMathOperator(DeviceHandle h, uint8_t op);
/* which = 0 sets the first operand, any other value the second. */
ZELVO_API int ZELVO_CALL DSOSetMathSource(DeviceHandle h, uint8_t which, uint8_t source);
ZELVO_API int ZELVO_CALL DSOSetTimeBase(DeviceHandle h, int32_t selector, int32_t value);
ZELVO_API int ZELVO_CALL DSOSetFormat(DeviceHandle h, uint8_t format);
ZELVO_API int ZELVO_CALL DSOSetHTriggerPos(DeviceHandle h, int32_t selector, uint16_t position);
ZELVO_API int ZELVO_CALL DSOSetTriggerMode(DeviceHandle h, uint8_t mode);
ZELVO_API int ZELVO_CALL DSOSetTriggerSweep(DeviceHandle h, uint8_t sweep);
ZELVO_API int ZELVO_CALL DSOSetTriggerSource(DeviceHandle h, uint8_t source);
ZELVO_API int ZELVO_CALL DSOSetTriggerSlope(DeviceHandle h, int32_t selector, int32_t value);
ZELVO_API int ZELVO_CALL DSOSetPulseTriggerCondition(DeviceHandle h, int32_t selector,
                                                     int32_t value);
/* Bit 0 of the selector goes to bit 31, the time's low 31 bits (units of 5 ns) below it. */
ZELVO_API int ZELVO_CALL DSOSetPulseTriggerTime(DeviceHandle h, int32_t selector, uint32_t time);
ZELVO_API int ZELVO_CALL DSOSetVTriggerLeverPos(DeviceHandle h, int32_t selector,
                                                uint16_t position);
ZELVO_API int ZELVO_CALL DSOSetTriggerHFReject(DeviceHandle h, int32_t selector, int32_t value);
ZELVO_API int ZELVO_CALL DSOSetALTTrigType(DeviceHandle h, int32_t selector, int32_t value);
/* Win32: _DSOSetFFTWindow@8, _DSOSetFFTSource@8, _DSOSetFFTScale@8 */
ZELVO_API int ZELVO_CALL DSOSetFFTWindow(DeviceHandle h, uint8_t window);
ZELVO_API int ZELVO_CALL DSOSetFFTSource(DeviceHandle h, uint8_t source);
ZELVO_API int ZELVO_CALL DSOSetFFTScale(DeviceHandle h, uint8_t scale);
ZELVO_API int ZELVO_CALL DSOSetTriggerLevel50(DeviceHandle h, uint8_t value);
ZELVO_API int ZELVO_CALL DSOSetBW100M(DeviceHandle h, int32_t channel, int32_t value);

/* ---- Multimeter: each setter sends one byte; the meter panel gives the meanings ---- */

ZELVO_API int ZELVO_CALL DMMSetMeasureMode(DeviceHandle h, uint8_t value);
ZELVO_API int ZELVO_CALL DMMSetVoltACDC(DeviceHandle h, uint8_t value);
ZELVO_API int ZELVO_CALL DMMSetVoltMode(DeviceHandle h, uint8_t value);
ZELVO_API int ZELVO_CALL DMMSetVoltRange(DeviceHandle h, uint8_t value);
ZELVO_API int ZELVO_CALL DMMSetVoltRel(DeviceHandle h, uint8_t value);
ZELVO_API int ZELVO_CALL DMMSetCurrentACDC(DeviceHandle h, uint8_t value);
ZELVO_API int ZELVO_CALL DMMSetCurrentMode(DeviceHandle h, uint8_t value);
ZELVO_API int ZELVO_CALL DMMSetCurrentAmA(DeviceHandle h, uint8_t value);
ZELVO_API int ZELVO_CALL DMMSetCurrentRange(DeviceHandle h, uint8_t value);
ZELVO_API int ZELVO_CALL DMMSetCurrentRel(DeviceHandle h, uint8_t value);
ZELVO_API int ZELVO_CALL DMMSetOHMRel(DeviceHandle h, uint8_t value);
ZELVO_API int ZELVO_CALL DMMSetOHMMode(DeviceHandle h, uint8_t value);
ZELVO_API int ZELVO_CALL DMMSetOHMRange(DeviceHandle h, uint8_t value);
ZELVO_API int ZELVO_CALL DMMSetCapRel(DeviceHandle h, uint8_t value);
ZELVO_API int ZELVO_CALL DMMOpenDMM(DeviceHandle h, uint8_t value);

/* ---- Function generator ---- */

ZELVO_API int ZELVO_CALL DDSSetSyncOut(DeviceHandle h, uint8_t value);
ZELVO_API int ZELVO_CALL DDSSetPowerOn(DeviceHandle h, uint8_t value);
/* Computes the sample-buffer layout for the frequency (Hz), stores it through
 * points and periods and sends the clock divider.  A frequency that is not
 * finite fails without an exchange. */
ZELVO_API int ZELVO_CALL DDSSetFrequency(DeviceHandle h, double frequency, int16_t* points,
                                         int16_t* periods);
/* Downloads count % 65536 16-bit samples. */
ZELVO_API int ZELVO_CALL DDSDownload(DeviceHandle h, uint32_t count, const uint16_t* samples);

#ifdef __cplusplus
}
#endif

#endif /* ZELVO_ZELVO_COMMON_H */
