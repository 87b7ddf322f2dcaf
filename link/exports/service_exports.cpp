// Instrument services both link libraries offer.
#include <algorithm>
#include <array>

#include "core/services.h"
#include "protocol/value_packing.h"

using namespace zelvo;
using namespace zelvo::link;

extern "C" {

ZELVO_API int ZELVO_CALL KwSetSyncWork(DeviceHandle, int32_t) { return 0; }

ZELVO_API int ZELVO_CALL KwGetDeviceInfo(DeviceHandle h, DeviceInfo* info) {
    return info ? exported(fetchDeviceInfo(h, *info)) : 1;
}

ZELVO_API int ZELVO_CALL KwScreenShoot(DeviceHandle h, const char* path) {
    return exported(saveScreenBitmap(h, path));
}

ZELVO_API int ZELVO_CALL KwShutDown(DeviceHandle h, uint8_t flag) {
    return exported(set(h, flag == 1 ? Command::ShutDown : Command::ShutDownOther, 10));
}

ZELVO_API int ZELVO_CALL KwShowMenu(DeviceHandle h, uint8_t value) {
    return exported(set(h, Command::ShowMenu, value));
}

ZELVO_API int ZELVO_CALL KwChangeFunction(DeviceHandle h, uint8_t function) {
    return exported(set(h, Command::Function, function));
}

ZELVO_API int ZELVO_CALL KwGetFunction(DeviceHandle h) {
    const GetResult r = get(h, Command::Function);
    return r.outcome == Outcome::Ok ? static_cast<int>(r.value & 0xFF) : -1;
}

ZELVO_API int ZELVO_CALL KwWriteTDC(DeviceHandle h, uint32_t high, uint32_t low) {
    return exported(set(h, Command::TdcCalibration, packTdc(high, low)));
}

ZELVO_API int ZELVO_CALL KwReadTDC(DeviceHandle h, uint32_t* low, uint32_t* high) {
    if (low == nullptr || high == nullptr) return 1;
    const GetResult r = get(h, Command::TdcCalibration);
    if (r.outcome != Outcome::Ok) return 1;
    *low = r.value & 0xFFFFu;
    *high = r.value >> 16;
    return 0;
}

ZELVO_API int ZELVO_CALL KwWriteWaveCalData(DeviceHandle h, const int32_t cal[4]) {
    if (cal == nullptr) return 1;
    return exported(
        set(h, Command::WaveCalibration, packCalibration({cal[0], cal[1], cal[2], cal[3]})));
}

ZELVO_API int ZELVO_CALL KwReadWaveCalData(DeviceHandle h, int32_t cal[4]) {
    if (cal == nullptr) return 1;
    const GetResult r = get(h, Command::WaveCalibration);
    if (r.outcome != Outcome::Ok) return 1;
    const auto bytes = unpackCalibration(r.value);
    std::copy(bytes.begin(), bytes.end(), cal);
    return 0;
}

}  // extern "C"
