// Serial link management: opening, closing and listing the ports of the port map.
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "core/device_calls.h"
#include "core/serial_port_map.h"
#include "core/serial_slot.h"
#include "protocol/serial_line.h"
#include "zelvo/ZelvoDLL.h"

using namespace zelvo;
using namespace zelvo::link;

namespace {

// Built once when the library is loaded, so a port number means the same
// device for the whole life of the process.
const SerialPortMap loadedPortMap = systemPortMap(environ);

// Opening uses only the low 8 bits of the handle; the port name only the port's low byte.
constexpr uint32_t slotOf(DeviceHandle h) { return h & 0xFFu; }
constexpr uint8_t portOf(int32_t port) { return static_cast<uint8_t>(port & 0xFF); }

const std::string* pathOf(int32_t port) {
    const auto it = loadedPortMap.find(portOf(port));
    return it == loadedPortMap.end() ? nullptr : &it->second;
}

// Ports tried by the port list.
constexpr int kListedPorts = 16;

}  // namespace

extern "C" {

ZELVO_API int ZELVO_CALL KwComInit(DeviceHandle h, int32_t port, uint16_t baudIndex) {
    const uint32_t slot = slotOf(h);
    if (slot >= kSerialSlotCount) return 1;
    SerialSlot& serial = serialSlots()[slot];
    serial.close();
    const std::string* path = pathOf(port);
    if (path == nullptr || serial.open(*path, baudIndex) != Outcome::Ok) return 1;
    if (set(ZELVO_HANDLE(ZELVO_LINK_SERIAL, slot), Command::LinkCheck, 1) == Outcome::Ok) return 0;
    serial.close();
    return 1;
}

ZELVO_API int ZELVO_CALL KwComClose(DeviceHandle h) {
    const uint32_t slot = slotOf(h);
    if (slot < kSerialSlotCount) serialSlots()[slot].close();
    return 0;
}

ZELVO_API int ZELVO_CALL KwGetCOMDeviceList(uint8_t list[16]) {
    if (list == nullptr) return 0;
    std::fill_n(list, kListedPorts, uint8_t{0});
    int count = 0;
    for (int port = 0; port < kListedPorts; ++port) {
        const std::string* path = pathOf(port);
        if (path == nullptr) continue;
        // A probe of its own, never a slot: a port that a slot holds stays as it is
        // (and, being held exclusively, does not open here).
        SerialPort probe;
        if (probe.open(*path, kProbeBaudIndex) == Outcome::Ok)
            list[count++] = static_cast<uint8_t>(port);
    }
    return count;
}

ZELVO_API int ZELVO_CALL KwGetCOMPortPath(int32_t port, char* path, uint32_t size) {
    const std::string* mapped = pathOf(port);
    if (mapped == nullptr || path == nullptr || size <= mapped->size()) return 1;
    std::memcpy(path, mapped->c_str(), mapped->size() + 1);
    return 0;
}

}  // extern "C"
