#include "device/device_tables.h"

namespace oscilane {

DeviceTables& DeviceTables::instance() {
    static DeviceTables tables;
    return tables;
}

DeviceEntry* DeviceTables::find(Transport transport, uint32_t index) {
    const auto table = static_cast<std::size_t>(transport);
    if (table >= tables_.size() || index >= kDeviceTableSize) return nullptr;
    return &tables_[table][index];
}

const DeviceEntry* DeviceTables::find(Transport transport, uint32_t index) const {
    return const_cast<DeviceTables*>(this)->find(transport, index);
}

std::optional<DeviceEntry> DeviceTables::entry(Transport transport, uint32_t index) const {
    std::lock_guard lock(mutex_);
    const DeviceEntry* e = find(transport, index);
    if (!e) return std::nullopt;
    return *e;
}

bool DeviceTables::isConnected(Transport transport, uint32_t index) const {
    std::lock_guard lock(mutex_);
    const DeviceEntry* e = find(transport, index);
    return e && e->connected;
}

bool DeviceTables::claim(Transport transport, uint32_t index) {
    std::lock_guard lock(mutex_);
    DeviceEntry* e = find(transport, index);
    if (!e || e->connected) return false;
    e->connected = true;
    return true;
}

LanClaim DeviceTables::claimLanSlot(uint32_t address) {
    std::lock_guard lock(mutex_);
    auto& lan = tables_[static_cast<std::size_t>(Transport::Lan)];
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
    for (const DeviceEntry& e : tables_[static_cast<std::size_t>(Transport::Lan)])
        if (e.connected) entries.push_back(e);
    return entries;
}

void DeviceTables::release(Transport transport, uint32_t index) {
    std::lock_guard lock(mutex_);
    if (DeviceEntry* e = find(transport, index)) e->connected = false;
}

void DeviceTables::describe(Transport transport, uint32_t index, const QString& name,
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
    if (DeviceEntry* e = find(Transport::Usb, usbIndex)) e->present = present;
}

void DeviceTables::clear() {
    std::lock_guard lock(mutex_);
    tables_ = {};
}

}  // namespace oscilane
