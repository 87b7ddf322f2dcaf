// USB link management.  No USB transport is built in yet: no instrument is
// ever listed and every USB exchange fails.
#include <algorithm>

#include "core/device_calls.h"

using namespace zelvo;
using namespace zelvo::link;

extern "C" {

ZELVO_API int ZELVO_CALL KwGetUSBDeviceList(uint8_t list[16]) {
    if (list != nullptr) std::fill_n(list, 16, uint8_t{0});
    return 0;
}

ZELVO_API int ZELVO_CALL KwUSBCheckConnect(DeviceHandle) { return 1; }

}  // extern "C"
