// The measurement library must take any samples, any count within them and
// any bytes in its records without reading or writing out of bounds, and give
// only finite results.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "mensyl/Mensyl.h"

namespace {

// Input layout: byte 0 chooses the record source, bytes 1..2 the count of
// CH2's samples, then 32 bytes of records, then the samples of both channels.
constexpr std::size_t kHeader = 3 + 2 * MENSYL_LEVEL_RECORD_SIZE + MENSYL_PERIOD_RECORD_SIZE;

void check(double result) {
    if (!std::isfinite(result)) std::abort();
}

// Records in buffers of exactly their size, so a write past one is caught.
struct Records {
    std::vector<unsigned char> H = std::vector<unsigned char>(MENSYL_LEVEL_RECORD_SIZE);
    std::vector<unsigned char> L = std::vector<unsigned char>(MENSYL_LEVEL_RECORD_SIZE);
    std::vector<unsigned char> P = std::vector<unsigned char>(MENSYL_PERIOD_RECORD_SIZE);
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < kHeader) return 0;
    // Samples in a buffer of exactly their count, so a read past n is caught;
    // bias them towards codes 0..255 with the odd blanked point.
    const std::size_t count = (size - kHeader) / 2;
    std::vector<short> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        const uint16_t raw =
            static_cast<uint16_t>(data[kHeader + 2 * i] | (data[kHeader + 2 * i + 1] << 8));
        samples[i] = static_cast<short>((data[0] & 1) ? raw : raw % 300 == 299 ? 32767 : raw % 256);
    }
    const int n2 = static_cast<int>((data[1] | (data[2] << 8)) % (count + 1));
    const int n1 = static_cast<int>(count) - n2;
    const short* d1 = samples.data();
    const short* d2 = samples.data() + n1;

    Records one, two;
    if (data[0] & 2) {
        // Records straight from the input.
        std::memcpy(one.H.data(), data + 3, MENSYL_LEVEL_RECORD_SIZE);
        std::memcpy(one.L.data(), data + 13, MENSYL_LEVEL_RECORD_SIZE);
        std::memcpy(one.P.data(), data + 23, MENSYL_PERIOD_RECORD_SIZE);
        two = one;
    } else {
        PreMeas(one.H.data(), one.L.data(), d1, n1);
        FindPeriod(one.P.data(), one.H.data(), one.L.data(), d1, n1);
        PreMeas(two.H.data(), two.L.data(), d2, n2);
        FindPeriod(two.P.data(), two.H.data(), two.L.data(), d2, n2);
    }
    const void *H = one.H.data(), *L = one.L.data(), *P = one.P.data();
    const int z = data[3];
    const double f = 0.5 + data[4] * 10.0, t = (data[5] + 1) * 1e-9;
    const float hi = data[6] / 255.0f, lo = data[7] / 255.0f;
    check(CalVpp(H, L, f, 255));
    check(CalMaxVolt(H, z, f));
    check(CalMinVolt(L, z, f));
    check(CalAmplitude(H, L, f));
    check(CalTopVolt(H, z, f));
    check(CalMidVolt(H, L, z, f, 255));
    check(CalBaseVolt(L, z, f));
    check(CalMean(d1, n1, z, f, 255));
    check(CalRMS(d1, n1, z, f, 255));
    check(CalPreShoot(H, L));
    check(CalOverShoot(H, L));
    check(CalPDutyCycle(P));
    check(CalNDutyCycle(P));
    check(CalPeriod(P, t));
    check(CalFrequency(P, t));
    check(CalPPulseWidth(P, t));
    check(CalNPulseWidth(P, t));
    check(CalRiseTime(H, L, d1, n1, t, 0.9f, 0.1f));
    check(CalFallTime(H, L, d1, n1, t, 0.9f, 0.1f));
    check(CalRiseTime(H, L, d1, n1, t, hi, lo));
    check(CalFallTime(H, L, d1, n1, t, hi, lo));
    check(CalPDelay12(P, two.P.data(), t, 2 * t));
    check(CalNDelay12(H, L, two.H.data(), two.L.data(), d1, n1, d2, n2, t, 2 * t));
    return 0;
}
