#include "measure_fake_library.h"

namespace measuretest {
namespace {

FakeState state;

double volts() {
    ++state.calls;
    return state.millivolts;
}
double fraction() {
    ++state.calls;
    return state.fraction;
}
double timed(double t) {
    ++state.calls;
    state.lastInterval = t;
    return state.seconds;
}

}  // namespace

FakeState& fake() { return state; }

const oscilane::MeasureLibrary& fakeLibrary() {
    state = FakeState{};
    static const oscilane::MeasureLibrary library{
        [](void*, void*, const short*, int) {
            ++state.calls;
            ++state.preMeasCalls;
            return 0;
        },
        [](void*, const void*, const void*, const short*, int) {
            ++state.calls;
            return 0;
        },
        [](const void*, const void*, double, int) { return volts(); },
        [](const void*, int, double) { return volts(); },
        [](const void*, int, double) { return volts(); },
        [](const void*, const void*, double) { return volts(); },
        [](const void*, int, double) { return volts(); },
        [](const void*, const void*, int, double, int) { return volts(); },
        [](const void*, int, double) { return volts(); },
        [](const short*, int, int, double, int) { return volts(); },
        [](const short*, int, int, double, int) { return volts(); },
        [](const void*, const void*) { return fraction(); },
        [](const void*, const void*) { return fraction(); },
        [](const void*) { return fraction(); },
        [](const void*) { return fraction(); },
        [](const void*, double t) { return timed(t); },
        [](const void*, double t) {
            timed(t);
            return state.hertz;
        },
        [](const void*, double t) { return timed(t); },
        [](const void*, double t) { return timed(t); },
        [](const void*, const void*, const short*, int, double t, float, float) {
            return timed(t);
        },
        [](const void*, const void*, const short*, int, double t, float, float) {
            return timed(t);
        },
        [](const void*, const void*, double t1, double t2) {
            state.lastDelayIntervals = {t1, t2};
            return timed(t1);
        },
        [](const void*, const void*, const void*, const void*, const short*, int, const short*, int,
           double t1, double t2) {
            state.lastDelayIntervals = {t1, t2};
            return timed(t1);
        },
        [](const void*) { return state.crossings ? 1 : 0; },
        [](const void*) { return state.crossings ? 1 : 0; },
    };
    return library;
}

}  // namespace measuretest
