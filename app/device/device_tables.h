// The process-wide tables of instruments, one per transport with 16 entries
// each, shared by all windows: the Option dialog fills in names, serial
// numbers and addresses, Connect and Disconnect mark an entry in use, so two
// windows never hold the same instrument.  USB entries are the device list's
// places and serial entries the port list's; a LAN entry is one of the link
// library's 16 LAN slots, which a window takes for the instrument at its
// address while it is connected.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "device/link_settings.h"

namespace oscilane {

inline constexpr std::size_t kDeviceTableSize = 16;

// What claiming a LAN slot for an address gave: the slot, or why none.
struct LanClaim {
    std::optional<uint32_t> slot;
    bool sameAddress = false;  // another window holds the instrument at the address
};

struct DeviceEntry {
    bool present = false;  // USB: the last list found an instrument in this slot
    uint32_t lanAddress = 0;
    QString name;
    QString serialNumber;
    bool connected = false;
};

class DeviceTables {
  public:
    // The one set of tables of the process.
    static DeviceTables& instance();

    // A copy of the entry, or none for a transport or index out of range.
    std::optional<DeviceEntry> entry(Transport transport, uint32_t index) const;
    bool isConnected(Transport transport, uint32_t index) const;
    // Marks the entry in use; false when another window already holds it (or
    // the entry does not exist), so the check and the claim are one step.
    bool claim(Transport transport, uint32_t index);
    // Takes the first free LAN slot for the instrument at `address`; none
    // when a window holds that address already or all 16 slots are taken.
    LanClaim claimLanSlot(uint32_t address);
    // The LAN entries in use, in slot order.
    std::vector<DeviceEntry> connectedLanEntries() const;
    void release(Transport transport, uint32_t index);
    // Records what a device test or the USB list found.
    void describe(Transport transport, uint32_t index, const QString& name,
                  const QString& serialNumber, uint32_t lanAddress = 0);
    void setPresent(uint32_t usbIndex, bool present);

    // Forgets everything; for tests.
    void clear();

  private:
    DeviceEntry* find(Transport transport, uint32_t index);
    const DeviceEntry* find(Transport transport, uint32_t index) const;

    mutable std::mutex mutex_;
    std::array<std::array<DeviceEntry, kDeviceTableSize>, kTransportCount> tables_;
};

}  // namespace oscilane
