#include "device/device_tables.h"

#include "device/link_settings.h"

namespace oscilane {

DeviceTables& DeviceTables::instance() {
    static DeviceTables tables;
    return tables;
}

DeviceEntry* DeviceTables::find(uint16_t transport, uint32_t index) {
    if (transport >= tables_.size() || index >= kDeviceTableSize) return nullptr;
    return &tables_[transport][index];
}

const DeviceEntry* DeviceTables::find(uint16_t transport, uint32_t index) const {
    return const_cast<DeviceTables*>(this)->find(transport, index);
}

std::optional<DeviceEntry> DeviceTables::entry(uint16_t transport, uint32_t index) const {
    std::lock_guard lock(mutex_);
    const DeviceEntry* e = find(transport, index);
    if (!e) return std::nullopt;
    return *e;
}

bool DeviceTables::isConnected(uint16_t transport, uint32_t index) const {
    std::lock_guard lock(mutex_);
    const DeviceEntry* e = find(transport, index);
    return e && e->connected;
}

bool DeviceTables::claim(uint16_t transport, uint32_t index) {
    std::lock_guard lock(mutex_);
    DeviceEntry* e = find(transport, index);
    if (!e || e->connected) return false;
    e->connected = true;
    return true;
}

LanClaim DeviceTables::claimLanSlot(uint32_t address) {
    std::lock_guard lock(mutex_);
    auto& lan = tables_[transport::kLan];
    for (const DeviceEntry& e : lan)
        if (e.connected && e.lanAddress == address) return {std::nullopt, true};
    for (uint32_t slot = 0; slot < lan.size(); ++slot) {
        DeviceEntry& e = lan[slot];
        if (e.connected) continue;
        e = DeviceEntry{};
        e.connected = true;
        e.lanAddress = address;
        return {slot, false};
    }
    return {};
}

std::vector<DeviceEntry> DeviceTables::connectedLanEntries() const {
    std::lock_guard lock(mutex_);
    std::vector<DeviceEntry> entries;
    for (const DeviceEntry& e : tables_[transport::kLan])
        if (e.connected) entries.push_back(e);
    return entries;
}

void DeviceTables::release(uint16_t transport, uint32_t index) {
    std::lock_guard lock(mutex_);
    if (DeviceEntry* e = find(transport, index)) e->connected = false;
}

void DeviceTables::describe(uint16_t transport, uint32_t index, const QString& name,
                            const QString& serialNumber, uint32_t lanAddress) {
    std::lock_guard lock(mutex_);
    DeviceEntry* e = find(transport, index);
    if (!e) return;
    e->name = name;
    e->serialNumber = serialNumber;
    e->lanAddress = lanAddress;
}

void DeviceTables::setPresent(uint32_t usbIndex, bool present) {
    std::lock_guard lock(mutex_);
    if (DeviceEntry* e = find(0, usbIndex)) e->present = present;
}

void DeviceTables::clear() {
    std::lock_guard lock(mutex_);
    tables_ = {};
}

}  // namespace oscilane
