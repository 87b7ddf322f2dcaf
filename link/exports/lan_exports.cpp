// LAN link management: UDP slots to instruments on the network.
#include "core/device_calls.h"
#include "core/lan_slot.h"
#include "zelvo/ZelvoDLL.h"

using namespace zelvo;
using namespace zelvo::link;

extern "C" {

ZELVO_API int ZELVO_CALL KwLanInit(DeviceHandle h, const char* address) {
    const uint32_t slot = h & 0xFFu;
    if (slot >= kLanSlotCount) return 1;
    LanSlot& lan = lanSlots()[slot];
    const DeviceHandle lanHandle = ZELVO_HANDLE(ZELVO_LINK_LAN, slot);
    // One retry on a fresh socket: the first check may meet an instrument that is waking up.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (lan.open(address, kLanPort) != Outcome::Ok) return 1;
        if (set(lanHandle, Command::LinkCheck, 1) == Outcome::Ok) return 0;
        lan.close();
    }
    return 1;
}

ZELVO_API int ZELVO_CALL KwLanClose(DeviceHandle h) {
    const uint32_t slot = h & 0xFFu;
    if (slot < kLanSlotCount) lanSlots()[slot].close();
    return 0;
}

}  // extern "C"
