// Serial link management.  No serial transport is built in yet: no port
// opens and every serial exchange fails.
#include <algorithm>

#include "core/device_calls.h"

using namespace zelvo;
using namespace zelvo::link;

extern "C" {

ZELVO_API int ZELVO_CALL KwComInit(DeviceHandle, int32_t, uint16_t) { return 1; }

ZELVO_API int ZELVO_CALL KwComClose(DeviceHandle) { return 0; }

ZELVO_API int ZELVO_CALL KwGetCOMDeviceList(uint8_t list[16]) {
    if (list != nullptr) std::fill_n(list, 16, uint8_t{0});
    return 0;
}

}  // extern "C"
