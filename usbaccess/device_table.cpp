#include "device_table.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace zelvo::zdev {
namespace {

std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

bool fits(const std::string& path) { return !path.empty() && path.size() < kPathSize; }

}  // namespace

DeviceTable& DeviceTable::instance() {
    // The driver is built first, so it is torn down after the table.
    static DeviceTable table;
    return table;
}

DeviceTable::DeviceTable() : driver_(driver::Driver::instance()) {
    subscription_ = driver_.subscribe(
        [this](const std::string& path, driver::PlugEvent e) { onPlug(path, e); });
}

DeviceTable::~DeviceTable() {
    driver_.unsubscribe(subscription_);
    for (Entry& e : entries_) {
        e.reader.reset();
        if (e.handle != driver::kInvalidHandle) driver_.close(e.handle);
    }
}

void DeviceTable::storePath(Entry& e, const std::string& path) {
    e.path.fill('\0');
    std::memcpy(e.path.data(), path.data(), path.size());
}

int32_t DeviceTable::enumerate() {
    if (!driver_.available()) return -1;
    const std::vector<std::string> paths = driver_.interfaces();
    std::lock_guard lock(mutex_);
    for (Entry& e : entries_)
        if (e.state == EntryState::Present) e.state = EntryState::Absent;
    const std::size_t considered = std::min<std::size_t>(paths.size(), kEntryCount);
    for (std::size_t k = 0; k < considered; ++k) {
        const std::string& path = paths[k];
        // A path that does not fit the entry would name some other device.
        if (!fits(path)) continue;
        auto owner = std::find_if(entries_.begin(), entries_.end(),
                                  [&](const Entry& e) { return path == e.path.data(); });
        if (owner == entries_.end()) {
            owner = std::find_if(entries_.begin(), entries_.end(),
                                 [](const Entry& e) { return e.state == EntryState::Unassigned; });
            if (owner == entries_.end()) continue;  // no free entry: not listed
            storePath(*owner, path);
        }
        owner->state = EntryState::Present;
    }
    uint32_t mask = 0;
    for (int32_t k = 0; k < kEntryCount; ++k)
        mask |= static_cast<uint32_t>(entries_[k].state) << (2 * k);
    return static_cast<int32_t>(mask);
}

int32_t DeviceTable::open(int32_t index) {
    if (index < 0 || index >= kEntryCount) return -1;
    std::string path;
    {
        std::lock_guard lock(mutex_);
        path = entries_[index].path.data();
    }
    // An entry no enumeration has filled has nothing to open, and stays
    // free for the next instrument that enumeration finds.
    if (path.empty()) return -1;
    driver::FileHandle h = driver::kInvalidHandle;
    const bool opened = driver_.open(path, h) == Status::Success;
    std::lock_guard lock(mutex_);
    Entry& e = entries_[index];
    e.state = opened ? EntryState::Present : EntryState::Absent;
    if (!opened) return -1;
    e.handle = h;
    return h;
}

int32_t DeviceTable::entryOf(int32_t indexOrHandle) {
    if (indexOrHandle >= 0 && indexOrHandle < kEntryCount) return indexOrHandle;
    for (int32_t k = 0; k < kEntryCount; ++k)
        if (entries_[k].handle == indexOrHandle && indexOrHandle != driver::kInvalidHandle)
            return k;
    return -1;
}

bool DeviceTable::close(int32_t indexOrHandle) {
    std::unique_ptr<InterruptReader> reader;
    driver::FileHandle h = driver::kInvalidHandle;
    {
        std::lock_guard lock(mutex_);
        const int32_t k = entryOf(indexOrHandle);
        if (k >= 0) {
            reader = std::move(entries_[k].reader);
            h = entries_[k].handle;
            entries_[k].handle = driver::kInvalidHandle;
        } else if (indexOrHandle >= kEntryCount) {
            h = indexOrHandle;
        }
    }
    reader.reset();
    return h != driver::kInvalidHandle && driver_.close(h);
}

driver::FileHandle DeviceTable::resolve(int32_t indexOrHandle) {
    if (indexOrHandle >= kEntryCount) return indexOrHandle;  // the driver checks it is open
    if (indexOrHandle < 0) return driver::kInvalidHandle;
    std::lock_guard lock(mutex_);
    return entries_[indexOrHandle].handle;
}

driver::FileHandle DeviceTable::firstOpenHandle() {
    std::lock_guard lock(mutex_);
    for (const Entry& e : entries_)
        if (e.handle != driver::kInvalidHandle) return e.handle;
    return driver::kInvalidHandle;
}

const char* DeviceTable::deviceName(int32_t index) {
    if (index < 0 || index >= kEntryCount) return nullptr;
    const std::vector<std::string> paths = driver_.interfaces();
    if (static_cast<std::size_t>(index) >= paths.size() || !fits(paths[index])) return nullptr;
    std::lock_guard lock(mutex_);
    storePath(entries_[index], paths[index]);
    return entries_[index].path.data();
}

bool DeviceTable::setInterruptRoutine(int32_t indexOrHandle, ZdevIntRoutine routine) {
    std::unique_ptr<InterruptReader> old;
    std::string path;
    int32_t k = -1;
    {
        std::lock_guard lock(mutex_);
        k = entryOf(indexOrHandle);
        if (k < 0) return false;
        old = std::move(entries_[k].reader);
        path = entries_[k].path.data();
    }
    old.reset();
    if (routine == nullptr) return true;
    if (path.empty()) return false;
    auto reader = std::make_unique<InterruptReader>(path, routine);
    if (!reader->running()) return false;
    std::lock_guard lock(mutex_);
    entries_[k].reader = std::move(reader);
    return true;
}

bool DeviceTable::setNotify(int32_t index, const char* filter, ZdevNotifyRoutine routine) {
    // Any value that is not an index names the last entry.
    const auto entry =
        static_cast<std::size_t>(index < 0 || index >= kEntryCount ? kEntryCount - 1 : index);
    std::lock_guard lock(mutex_);
    Entry& e = entries_[entry];
    e.notify = routine;
    e.filter = routine != nullptr && filter != nullptr ? upper(filter) : std::string();
    return true;
}

void DeviceTable::onPlug(const std::string& path, driver::PlugEvent event) {
    const std::string key = upper(path);
    std::vector<ZdevNotifyRoutine> routines;
    {
        std::lock_guard lock(mutex_);
        for (const Entry& e : entries_)
            if (e.notify != nullptr && key.find(e.filter) != std::string::npos)
                routines.push_back(e.notify);
    }
    for (ZdevNotifyRoutine r : routines) {
        if (event == driver::PlugEvent::Arrived) {
            r(ZDEV_EVENT_ARRIVED);
        } else {
            r(ZDEV_EVENT_REMOVE_PENDING);
            r(ZDEV_EVENT_REMOVED);
        }
    }
}

}  // namespace zelvo::zdev
