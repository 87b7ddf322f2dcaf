// The measurement library's 23 functions and the two readers of its period
// record as one table, so the measurement state calls them through a seam:
// the application binds libMensyl.so, tests bind fakes that count calls or
// return chosen values.
#pragma once

namespace oscilane {

struct MeasureLibrary {
    int (*preMeas)(void* h, void* l, const short* data, int n);
    int (*findPeriod)(void* p, const void* h, const void* l, const short* data, int n);

    double (*vpp)(const void* h, const void* l, double f, int full);
    double (*maxVolt)(const void* h, int z, double f);
    double (*minVolt)(const void* l, int z, double f);
    double (*amplitude)(const void* h, const void* l, double f);
    double (*topVolt)(const void* h, int z, double f);
    double (*midVolt)(const void* h, const void* l, int z, double f, int full);
    double (*baseVolt)(const void* l, int z, double f);
    double (*mean)(const short* data, int n, int z, double f, int full);
    double (*rms)(const short* data, int n, int z, double f, int full);

    double (*preShoot)(const void* h, const void* l);
    double (*overShoot)(const void* h, const void* l);
    double (*posDutyCycle)(const void* p);
    double (*negDutyCycle)(const void* p);

    double (*period)(const void* p, double t);
    double (*frequency)(const void* p, double t);
    double (*posPulseWidth)(const void* p, double t);
    double (*negPulseWidth)(const void* p, double t);
    double (*riseTime)(const void* h, const void* l, const short* data, int n, double t, float hi,
                       float lo);
    double (*fallTime)(const void* h, const void* l, const short* data, int n, double t, float hi,
                       float lo);
    double (*posDelay12)(const void* p1, const void* p2, double t1, double t2);
    double (*negDelay12)(const void* h1, const void* l1, const void* h2, const void* l2,
                         const short* d1, int n1, const short* d2, int n2, double t1, double t2);

    // Whether a period record holds a rising (falling) crossing: a delay of
    // two records that both hold one is measured, even when it is 0.
    int (*hasRisingCrossing)(const void* p);
    int (*hasFallingCrossing)(const void* p);
};

// libMensyl.so's functions.
const MeasureLibrary& mensylLibrary();

}  // namespace oscilane
