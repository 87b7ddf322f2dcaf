/*
 * sdkZelvoDLL: the developer kit for driving a Zelvo instrument over USB
 * from your own programs, in C or C++.
 *
 *   #include <zelvo/sdkZelvoDLL.h>      link with: pkg-config --libs sdkZelvoDLL
 *
 *   uint8_t present[16];
 *   if (KwGetUSBDeviceList(present) > 0 && present[0]) {
 *       DeviceHandle h = 0;                 // USB instrument at index 0
 *       KitSettings settings;
 *       int16_t ch1[1200], ch2[1200], math[1200], ref[1200];
 *       if (DSOGetAllSetting(h, &settings, ch1, ch2, math, ref) == 0) { ... }
 *   }
 *
 * The kit speaks USB only: a handle of link kind 1 (serial) or 2 (LAN) fails
 * every call at once.  Results are 0 on success and 1 on failure unless noted;
 * zelvo_common.h declares the calls the kit shares with the link library.
 * Volts-per-division and time-base indexes count from 0 here (the kit's
 * numbering), where the instrument counts from 4 and 2.
 */
#ifndef ZELVO_SDKZELVODLL_H
#define ZELVO_SDKZELVODLL_H

#include "zelvo/zelvo_common.h"

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 1)

/* One channel's settings (CH1, CH2, MATH, REF). */
typedef struct KitChannelRecord {
    int16_t shown;      /* 1 when the channel is shown */
    int16_t voltsIndex; /* kit numbering: 0 is the instrument's index 4 */
    int16_t coupling;   /* 0 AC, 1 DC, 2 GND */
    int16_t probe;      /* 0 1X, 1 10X, 2 100X, 3 1000X */
    int16_t invert;
    int16_t bandwidth20M;
    int16_t bandwidth100M;
    uint8_t unused14[2];  /* not written */
    uint32_t voltsValue;  /* volts per division of a 1X probe, units of 10 uV */
    int16_t position;     /* vertical position, 0 (top) .. 199 */
    int16_t triggerLevel; /* trigger level of CH1 / CH2, 0 .. 199 */
    int16_t setting24;
    int16_t setting26;
    int16_t setting28;
    int16_t altTimeBase; /* time-base index in ALT trigger mode, kit numbering */
    int16_t voltsStep;   /* 0 coarse, 1 fine */
    int16_t blankMode;   /* 1 blanks samples 0..end, 2 or 3 start..end */
    int16_t blankStart;
    int16_t blankEnd;
} KitChannelRecord;

typedef struct KitTriggerRecord {
    uint16_t type; /* 0 Edge, 1 Pulse */
    uint16_t source;
    uint16_t sweep; /* 0 AUTO, 1 NORMAL, 2 SINGLE */
    uint16_t slope; /* 0 rising, 1 falling */
    uint16_t hfReject;
    uint16_t pulseCondition; /* 0 +Less, 1 +Equal, 2 +More, 3 -Less, 4 -Equal, 5 -More */
    uint32_t pulseWidth;     /* units of 5 ns */
} KitTriggerRecord;

typedef struct KitWaveformRecord {
    uint32_t step;   /* thousandths of a horizontal unit per sample (300 units span the grid) */
    uint32_t origin; /* thousandths of a unit */
    uint32_t sampleCount; /* samples of the trace, at most 1200 */
    uint16_t vector;      /* 1: join the points with lines */
    uint16_t setting14;
} KitWaveformRecord;

/* The scope's complete state, filled by DSOGetAllSetting (484 bytes). */
typedef struct KitSettings {
    KitChannelRecord channels[4]; /* settings in force now */
    int16_t setting160;
    uint8_t unused162[2];
    KitChannelRecord captured[4]; /* settings in force when the shown data was captured */
    int16_t setting324;
    uint8_t unused326[2];
    uint32_t math[4]; /* operator (0 A+B .. 4 FFT), source A, source B, FFT dB/div index */
    KitTriggerRecord mainTrigger;
    KitTriggerRecord altTriggers[2];
    KitWaveformRecord waveforms[4];
    int16_t timeBase;          /* kit numbering: 0 is the instrument's index 2 */
    int16_t horizontalTrigger; /* 0 .. 300, 150 the centre */
    int16_t runStop;           /* non-zero while stopped */
    int16_t fftSource;
    int16_t triggerMode; /* 0 Edge, 1 Pulse, 2 ALT */
    int16_t fftWindow;
    int16_t displayFormat; /* 0 Y-T, 1 X-Y, 2 Roll */
    int16_t fftScale;
    int16_t setting472;
    uint8_t unused474[2]; /* not written */
    uint32_t setting476;
    int16_t setting480;
    uint8_t unused482[2]; /* not written */
} KitSettings;

/* A meter reading, filled by DMMGetInfo (36 bytes). */
typedef struct KitDmmInfo {
    uint8_t
        measureMode;  /* 0 voltage, 1 current, 2 resistance, 3 diode, 4 continuity, 5 capacitance */
    uint8_t overload; /* 1 when the display shows no number */
    uint8_t ac;
    uint8_t manualRange;
    uint8_t rel;
    uint8_t rangeIndex; /* written only in manual range */
    uint8_t milliamps;  /* written only in current mode */
    uint8_t barValue;
    uint8_t barSign;
    uint8_t zero[3];
    uint8_t digits[4];    /* the display digits 0..9, most significant first */
    float value;          /* the displayed number, scaled and signed */
    uint8_t decimalScale; /* 0..3: xxxx, x.xxx, xx.xx, xxx.x */
    uint8_t prefixIndex;  /* 1 n, 2 u, 3 m, 4 k, 5 M, 7 none */
    uint8_t unitIndex;    /* 0 V, 1 A, 2 Ohm, 3 F */
    uint8_t negative;
    uint8_t auxDigits[4];
    float auxValue; /* the auxiliary (REL reference) number */
    uint8_t auxDecimalType;
    uint8_t auxByteB;
    uint8_t auxByteA;
    uint8_t auxSign;
} KitDmmInfo;

#pragma pack(pop)

/* Number of samples DSOGetCh12Data and DSOGetChREFData can deliver per channel. */
#define ZELVO_KIT_RAW_SAMPLES_MAX 32768

/* Bandwidth limit 20 MHz on (1) or off (0). */
ZELVO_API int ZELVO_CALL DSOSetBW20M(DeviceHandle h, int32_t channel, int32_t value);
/* Fills settings and the four 1200-sample traces (CH1, CH2, MATH, REF) with
 * the instrument's state.  Shown traces are rescaled to the channel's current
 * volts per division and cleaned: codes 0..255, 32767 where blanked. */
ZELVO_API int ZELVO_CALL DSOGetAllSetting(DeviceHandle h, KitSettings* settings, int16_t* ch1,
                                          int16_t* ch2, int16_t* math, int16_t* ref);
/* Copies count1 raw CH1 and count2 raw CH2 samples (each at most 32768; more is
 * read as 32768). */
ZELVO_API int ZELVO_CALL DSOGetCh12Data(DeviceHandle h, uint8_t* ch1, uint8_t* ch2, uint32_t count1,
                                        uint32_t count2);
/* Copies count raw REF samples (at most 32768). */
ZELVO_API int ZELVO_CALL DSOGetChREFData(DeviceHandle h, uint8_t* ref, uint32_t count);
/* Does nothing; always 0.  (Win32: _KwNetCheckConnect@8) */
ZELVO_API int ZELVO_CALL KwNetCheckConnect(DeviceHandle h, int32_t value);
/* One meter reading; 1 when the read failed or the reading shows no known mode. */
ZELVO_API int ZELVO_CALL DMMGetInfo(DeviceHandle h, KitDmmInfo* info);

#ifdef __cplusplus
}
#endif

#endif /* ZELVO_SDKZELVODLL_H */
