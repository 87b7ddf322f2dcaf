// Exports that work on the device table: enumeration, open and close,
// device names, versions, interrupt and plug routines.
#include "device_table.h"
#include "driver_record.h"
#include "zelvo/ZelvoDev.h"

using zelvo::zdev::DeviceTable;

extern "C" {

ZDEV_API int32_t ZDEV_CALL ZdevOpenDevice(int32_t index) {
    if (index == -1) return DeviceTable::instance().enumerate();
    return DeviceTable::instance().open(index);
}

ZDEV_API int32_t ZDEV_CALL ZdevCloseDevice(int32_t index) {
    return DeviceTable::instance().close(index) ? 1 : 0;
}

ZDEV_API uint32_t ZDEV_CALL ZdevGetVersion(void) { return ZDEV_LIBRARY_VERSION; }

ZDEV_API uint32_t ZDEV_CALL ZdevGetDrvVersion(void) {
    using namespace zelvo::zdev;
    const zelvo::driver::FileHandle h = DeviceTable::instance().firstOpenHandle();
    if (h == zelvo::driver::kInvalidHandle) return 0;
    std::vector<uint8_t> record =
        makeRecord(DriverCommand::Version, 0, {}, kShortRecordSize - kRecordHeaderSize);
    const Completed c = sendRecord(h, record, record.size());
    return c.ok && c.length >= 1 ? record[kRecordHeaderSize] : 0;
}

ZDEV_API const char* ZDEV_CALL ZdevGetDeviceName(int32_t index) {
    return DeviceTable::instance().deviceName(index);
}

ZDEV_API int32_t ZDEV_CALL ZdevSetIntRoutine(int32_t index, ZdevIntRoutine routine) {
    return DeviceTable::instance().setInterruptRoutine(index, routine) ? 1 : 0;
}

ZDEV_API int32_t ZDEV_CALL ZdevSetDeviceNotify(int32_t index, const char* filter,
                                               ZdevNotifyRoutine routine) {
    return DeviceTable::instance().setNotify(index, filter, routine) ? 1 : 0;
}

}  // extern "C"
