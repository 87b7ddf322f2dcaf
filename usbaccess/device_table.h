// The access library's table of 16 instruments: their state, path and open
// handle, their interrupt readers and plug routines.  Entries gain paths by
// enumeration and keep them, so a replugged instrument finds its old entry.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "interrupt_reader.h"
#include "zelvo/ZelvoDev.h"
#include "zelvo/driver/driver.h"

namespace zelvo::zdev {

enum class EntryState : uint8_t { Absent = 0, Present = 1, Unassigned = 2 };

inline constexpr int32_t kEntryCount = 16;
inline constexpr std::size_t kPathSize = 128;

class DeviceTable {
  public:
    static DeviceTable& instance();
    ~DeviceTable();
    DeviceTable(const DeviceTable&) = delete;
    DeviceTable& operator=(const DeviceTable&) = delete;

    // The presence mask (two bits per entry), or -1 when there is no bus.
    int32_t enumerate();
    // Opens entry index; its handle or -1.
    int32_t open(int32_t index);
    // Closes an entry's handle (stopping its interrupt reader) or an open handle.
    bool close(int32_t indexOrHandle);
    // The driver handle a device argument stands for.
    driver::FileHandle resolve(int32_t indexOrHandle);
    driver::FileHandle firstOpenHandle();
    // The index-th instrument's path, stored in entry index as well.
    const char* deviceName(int32_t index);
    bool setInterruptRoutine(int32_t indexOrHandle, ZdevIntRoutine routine);
    bool setNotify(int32_t index, const char* filter, ZdevNotifyRoutine routine);

  private:
    struct Entry {
        EntryState state = EntryState::Unassigned;
        std::array<char, kPathSize> path{};  // NUL-terminated, empty when never assigned
        driver::FileHandle handle = driver::kInvalidHandle;
        std::unique_ptr<InterruptReader> reader;
        ZdevNotifyRoutine notify = nullptr;
        std::string filter;  // upper-case
    };
    DeviceTable();
    int32_t entryOf(int32_t indexOrHandle);  // under mutex_; -1 when none
    void onPlug(const std::string& path, driver::PlugEvent event);
    static void storePath(Entry& e, const std::string& path);

    driver::Driver& driver_;
    std::mutex mutex_;
    std::array<Entry, kEntryCount> entries_;
    uint64_t subscription_ = 0;
};

}  // namespace zelvo::zdev
