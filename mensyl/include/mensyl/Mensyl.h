/*
 * Mensyl: automatic waveform measurements on one record of 8-bit sample codes.
 *
 * A caller hands in the samples of one trace (16-bit values; codes 0 to 255
 * are screen levels, 0 the bottom of the grid, 255 the top; any other value,
 * such as 32767 for a blanked point, is no sample and is skipped) and gets
 * back voltages, times and fractions.  The library keeps no state: every
 * buffer belongs to the caller and every function reads only the n samples
 * it is given.
 *
 * Order of use, per trace:
 *   PreMeas(H, L, data, n)        fills the high-level record H and the low-level record L
 *   FindPeriod(P, H, L, data, n)  fills the period record P
 *   Cal...(H / L / P, ...)        the results
 *
 * Units.  Voltages are millivolts at a 1X probe.  z is the zero argument: the
 * code of 0 V is full - z (full is 255 where it is not passed; callers pass
 * 255).  f is the volts factor in millivolts per division; full codes span 8
 * divisions, so one code is f * 8 / full millivolts.  t is the sample
 * interval in seconds.  Times are in seconds, the frequency in hertz,
 * overshoot, preshoot and duty cycles are plain fractions (0.05 is 5 %).
 *
 * "Cannot measure".  A value that cannot be determined (no sample, a flat
 * line, too little amplitude, no whole cycle, a bad argument such as t <= 0
 * or a non-finite f) gives 0 or less, never NaN or infinity and never a
 * guess.  A rise or fall time shorter than one sample interval gives 0.
 * The delays may be negative, and 0 is a delay like any other (the same
 * signal on both channels); they also give 0 when there is no pair of
 * crossings to measure.  MensylHasRisingCrossing and MensylHasFallingCrossing
 * tell the two apart from the period records.
 *
 * Methods.  Top and base are the modes of the upper and lower halves of a
 * 256-bin histogram of the codes, refined to the mean of the codes within
 * 2 codes of the mode; when the mode's neighbourhood holds less than 40 % of
 * its half (a sine, a triangle) the level falls back to the maximum or
 * minimum.  A transition is confirmed only when the samples pass from one
 * state boundary to the other (25 % and 75 % of the amplitude for the
 * mid-level crossings, the hi and lo fractions for rise and fall times), so
 * noise of a few codes does not add edges; at least 5 codes of amplitude are
 * needed.  Crossings are interpolated linearly between neighbouring samples;
 * where noise crosses the 50 % level several times within one transition,
 * the transition's time is the mean of its first and last crossing.  A run of
 * more than 2 blanked points breaks the record into pieces (an edge may hide
 * in it); shorter runs are interpolated across.
 * The period spans whole cycles only, from the first to the last mid-level
 * crossing of each polarity: it is the least-squares slope of the crossing
 * times against their cycle numbers, rising and falling crossings of every
 * piece together, which for clean crossings equals (last - first) / cycles
 * and averages the noise of the crossings in between.  The duty cycle comes
 * from the mean widths of the whole high and low pulses.  Mean and RMS use
 * every sample of the record (a blanked point is none).  A delay pairs each CH1 crossing with the
 * CH2 crossing of the same polarity nearest to it, the closest pair fixing the delay and the pairs
 * that agree with it within a quarter period averaged.
 *
 * Record layouts.  All multi-byte fields are little-endian; the records may
 * sit at any address.  A record of zeros means "nothing found".
 *
 * H, the high-level record, 10 bytes:
 *   0     uint8   tag: 0x48 ('H') when the record holds levels, 0 when the
 *                 record had no sample
 *   1     uint8   flags: bit 0 set when the top level is a histogram mode,
 *                 clear when it fell back to the maximum
 *   2..3  uint16  maximum code, 0..255
 *   4..5  uint16  top level in 1/64 code, 0..16320
 *   6..9  uint32  number of samples (codes 0..255) in the record
 *
 * L, the low-level record, 10 bytes: the same with tag 0x4C ('L'), the
 * minimum code and the base level.
 *
 * P, the period record, 12 bytes:
 *   0..3   float32 period in sample intervals; 0 when the record holds no
 *                  whole cycle
 *   4..7   float32 position of the first rising mid-level crossing, in
 *                  sample intervals after data[0] (fitted to the rising
 *                  crossings of its piece when they span a whole cycle)
 *   8..9   uint16  positive duty cycle * 65535; 0 when there is no whole
 *                  cycle
 *   10..11 uint16  bits 0..14: number of rising mid-level crossings in the
 *                  record (saturating at 32767); 0 when there is none, and
 *                  then bytes 4..7 mean nothing.  Bit 15: set when the
 *                  record holds a falling mid-level crossing.
 */
#ifndef MENSYL_MENSYL_H
#define MENSYL_MENSYL_H

#if defined(_WIN32)
#define MENSYL_CALL __stdcall
#if defined(MENSYL_BUILDING_LIBRARY)
#define MENSYL_API __declspec(dllexport)
#else
#define MENSYL_API __declspec(dllimport)
#endif
#else
#define MENSYL_CALL
#define MENSYL_API __attribute__((visibility("default")))
#endif

/* Sizes of the records; the library never writes past them. */
#define MENSYL_LEVEL_RECORD_SIZE 10
#define MENSYL_PERIOD_RECORD_SIZE 12

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Reading the period record ----
 * Inline readers of the layout above; not exports.  A delay over two period
 * records (filled from the same samples as the delay reads) is measured when
 * both hold a crossing of the delay's polarity and both intervals are above 0:
 * CalPDelay12 needs rising crossings, CalNDelay12 falling ones. */

/* 1 when P holds a rising mid-level crossing, 0 otherwise or for a null P. */
static inline int MensylHasRisingCrossing(const void* P) {
    const unsigned char* bytes = (const unsigned char*)P;
    return bytes != 0 && (bytes[10] != 0 || (bytes[11] & 0x7F) != 0);
}

/* 1 when P holds a falling mid-level crossing, 0 otherwise or for a null P. */
static inline int MensylHasFallingCrossing(const void* P) {
    const unsigned char* bytes = (const unsigned char*)P;
    return bytes != 0 && (bytes[11] & 0x80) != 0;
}

/* ---- Preparation ---- */

/* Fills H and L from the n samples.  0 when the record holds at least one
 * sample, 1 otherwise (H and L are then zeros, or untouched when null). */
MENSYL_API int MENSYL_CALL PreMeas(void* H, void* L, const short* data, int n);
/* Fills P from the n samples and the levels in H and L.  0 when the record
 * holds at least one whole cycle, 1 otherwise (P then holds what was found). */
MENSYL_API int MENSYL_CALL FindPeriod(void* P, const void* H, const void* L, const short* data,
                                      int n);

/* ---- Voltages, millivolts ---- */

/* Maximum minus minimum. */
MENSYL_API double MENSYL_CALL CalVpp(const void* H, const void* L, double f, int full);
MENSYL_API double MENSYL_CALL CalMaxVolt(const void* H, int z, double f);
MENSYL_API double MENSYL_CALL CalMinVolt(const void* L, int z, double f);
/* Top minus base. */
MENSYL_API double MENSYL_CALL CalAmplitude(const void* H, const void* L, double f);
MENSYL_API double MENSYL_CALL CalTopVolt(const void* H, int z, double f);
/* Halfway between top and base. */
MENSYL_API double MENSYL_CALL CalMidVolt(const void* H, const void* L, int z, double f, int full);
MENSYL_API double MENSYL_CALL CalBaseVolt(const void* L, int z, double f);
/* Over every sample of the n, whole cycles or not. */
MENSYL_API double MENSYL_CALL CalMean(const short* data, int n, int z, double f, int full);
MENSYL_API double MENSYL_CALL CalRMS(const short* data, int n, int z, double f, int full);

/* ---- Fractions ---- */

/* (base - minimum) / amplitude: the aberration below the base, before a
 * rising or after a falling transition; 0 when the amplitude is too small. */
MENSYL_API double MENSYL_CALL CalPreShoot(const void* H, const void* L);
/* (maximum - top) / amplitude. */
MENSYL_API double MENSYL_CALL CalOverShoot(const void* H, const void* L);
MENSYL_API double MENSYL_CALL CalPDutyCycle(const void* P);
MENSYL_API double MENSYL_CALL CalNDutyCycle(const void* P);

/* ---- Times, seconds ---- */

MENSYL_API double MENSYL_CALL CalPeriod(const void* P, double t);
MENSYL_API double MENSYL_CALL CalFrequency(const void* P, double t);
MENSYL_API double MENSYL_CALL CalPPulseWidth(const void* P, double t);
MENSYL_API double MENSYL_CALL CalNPulseWidth(const void* P, double t);
/* Mean time from the lo to the hi reference level (fractions of the
 * amplitude above the base, callers pass 0.9 and 0.1) over the record's
 * rising transitions.  0 when shorter than one sample interval, -1 when the
 * record holds no whole rising transition or the arguments are unusable. */
MENSYL_API double MENSYL_CALL CalRiseTime(const void* H, const void* L, const short* data, int n,
                                          double t, float hi, float lo);
/* The same over the falling transitions, from hi down to lo. */
MENSYL_API double MENSYL_CALL CalFallTime(const void* H, const void* L, const short* data, int n,
                                          double t, float hi, float lo);
/* Time from a rising mid-level crossing of CH1 (P1, interval t1) to the
 * nearest rising mid-level crossing of CH2 (P2, t2), taking the closest pair
 * of crossings inside the two records; negative when CH2's crossing comes
 * first.  A record's crossings are its first one and those whole periods
 * after it, up to its count of rising crossings. */
MENSYL_API double MENSYL_CALL CalPDelay12(const void* P1, const void* P2, double t1, double t2);
/* The same for falling crossings, found in the samples of both channels. */
MENSYL_API double MENSYL_CALL CalNDelay12(const void* H1, const void* L1, const void* H2,
                                          const void* L2, const short* d1, int n1, const short* d2,
                                          int n2, double t1, double t2);

#ifdef __cplusplus
}
#endif

#endif /* MENSYL_MENSYL_H */
