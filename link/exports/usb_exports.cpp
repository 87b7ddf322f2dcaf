// USB link management: the list of present instruments and the probe.
#include <algorithm>

#include "core/device_calls.h"
#include "zelvo/ZelvoDev.h"

using namespace zelvo;
using namespace zelvo::link;

namespace {

constexpr int kUsbListLength = 16;
// State of a table entry in the access library's presence mask.
constexpr uint32_t kPresent = 1;

}  // namespace

extern "C" {

ZELVO_API int ZELVO_CALL KwGetUSBDeviceList(uint8_t list[16]) {
    if (list == nullptr) return 0;
    std::fill_n(list, kUsbListLength, uint8_t{0});
    const int32_t result = ZdevOpenDevice(-1);
    if (result == -1) return 0;
    const auto mask = static_cast<uint32_t>(result);
    int count = 0;
    for (int k = 0; k < kUsbListLength; ++k) {
        // Only the state "present" counts; "absent" and "never assigned" do not.
        if (((mask >> (2 * k)) & 3u) != kPresent) continue;
        list[k] = 1;
        ++count;
    }
    return count;
}

ZELVO_API int ZELVO_CALL KwUSBCheckConnect(DeviceHandle h) {
    const auto index = static_cast<int32_t>(deviceNumber(h));
    if (ZdevOpenDevice(index) == -1) return 1;
    ZdevCloseDevice(index);
    return 0;
}

}  // extern "C"
