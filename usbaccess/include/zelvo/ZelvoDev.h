/*
 * ZelvoDev: the USB access library of the Zelvo instrument.
 *
 * Keeps a table of up to 16 instruments found on USB and turns every call
 * into one command record for the driver.  A device argument of 0-15 is an
 * index into the table (the entry's open handle is used); a larger value is
 * a handle returned by ZdevOpenDevice that is still open.  In/out lengths
 * point to a u32 holding the size offered and receiving the size moved, 0
 * on failure.  Results are 1 for success and 0 for failure unless noted.
 */
#ifndef ZELVO_ZELVODEV_H
#define ZELVO_ZELVODEV_H

#include <stdint.h>

#if defined(_WIN32)
#define ZDEV_CALL __stdcall
#define ZDEV_API __declspec(dllexport)
#else
#define ZDEV_CALL
#define ZDEV_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Version of this library. */
#define ZDEV_LIBRARY_VERSION 0x102

/* Events passed to a plug routine. */
#define ZDEV_EVENT_REMOVED 0u
#define ZDEV_EVENT_REMOVE_PENDING 1u
#define ZDEV_EVENT_ARRIVED 3u

/* Receives the 8 bytes of each interrupt; called on the library's reader thread. */
typedef void(ZDEV_CALL* ZdevIntRoutine)(const uint8_t* data);
/* Receives ZDEV_EVENT_...; called on a thread of the library. */
typedef void(ZDEV_CALL* ZdevNotifyRoutine)(uint32_t event);

/* Index 0-15: opens that entry and returns a handle, or -1.  -1: enumerates
 * and returns the presence mask, two bits per entry (2 never assigned,
 * 1 present, 0 absent), or -1 when enumeration fails. */
ZDEV_API int32_t ZDEV_CALL ZdevOpenDevice(int32_t index);
ZDEV_API int32_t ZDEV_CALL ZdevCloseDevice(int32_t index);
ZDEV_API uint32_t ZDEV_CALL ZdevGetVersion(void);
/* The driver's version byte, from the first open entry; 0 if none is open. */
ZDEV_API uint32_t ZDEV_CALL ZdevGetDrvVersion(void);
/* Sends the caller's command record (length + 8 bytes, and at least 72);
 * returns the bytes returned, 0 on failure (the record still carries the
 * status). */
ZDEV_API uint32_t ZDEV_CALL ZdevDriverCommand(int32_t index, void* record);
ZDEV_API int32_t ZDEV_CALL ZdevResetDevice(int32_t index);
ZDEV_API int32_t ZDEV_CALL ZdevGetDeviceDescr(int32_t index, void* buffer, uint32_t* ioLength);
ZDEV_API int32_t ZDEV_CALL ZdevGetConfigDescr(int32_t index, void* buffer, uint32_t* ioLength);
/* Vendor id in bits 0-15, product id in bits 16-31; 0 on failure. */
ZDEV_API uint32_t ZDEV_CALL ZdevGetUsbID(int32_t index);
ZDEV_API int32_t ZDEV_CALL ZdevGetStatus(int32_t index, int32_t* status);
/* Takes at least one 64-byte packet from the device, copies at most *ioLength bytes. */
ZDEV_API int32_t ZDEV_CALL ZdevReadData(int32_t index, void* buffer, uint32_t* ioLength);
ZDEV_API int32_t ZDEV_CALL ZdevWriteData(int32_t index, const void* buffer, uint32_t* ioLength);
ZDEV_API int32_t ZDEV_CALL ZdevWriteAuxData(int32_t index, const void* buffer, uint32_t* ioLength);
/* Writes up to 64 bytes, then reads up to 64. */
ZDEV_API int32_t ZDEV_CALL ZdevWriteRead(int32_t index, const void* data, uint32_t inLength,
                                         void* buffer, uint32_t* ioLength);
ZDEV_API int32_t ZDEV_CALL ZdevReadInter(int32_t index, void* buffer, uint32_t* ioLength);
ZDEV_API int32_t ZDEV_CALL ZdevAbortInter(int32_t index);
ZDEV_API int32_t ZDEV_CALL ZdevAbortRead(int32_t index);
ZDEV_API int32_t ZDEV_CALL ZdevAbortWrite(int32_t index);
ZDEV_API int32_t ZDEV_CALL ZdevResetInter(int32_t index);
ZDEV_API int32_t ZDEV_CALL ZdevResetRead(int32_t index);
ZDEV_API int32_t ZDEV_CALL ZdevResetWrite(int32_t index);
ZDEV_API int32_t ZDEV_CALL ZdevResetAux(int32_t index);
/* Time-outs in ms; -1 (0xFFFFFFFF) waits for ever, 0 acts as 1. */
ZDEV_API int32_t ZDEV_CALL ZdevSetTimeout(int32_t index, uint32_t writeMs, uint32_t readMs);
ZDEV_API int32_t ZDEV_CALL ZdevSetTimeoutEx(int32_t index, uint32_t writeMs, uint32_t readMs,
                                            uint32_t auxMs, uint32_t interruptMs);
ZDEV_API int32_t ZDEV_CALL ZdevSetExclusive(int32_t index, uint32_t exclusive);
ZDEV_API int32_t ZDEV_CALL ZdevSetBufUpload(int32_t index, uint32_t enable);
ZDEV_API int32_t ZDEV_CALL ZdevSetBufDownload(int32_t index, uint32_t enable);
/* Records held by the buffered ring, -1 on failure. */
ZDEV_API int32_t ZDEV_CALL ZdevQueryBufUpload(int32_t index);
ZDEV_API int32_t ZDEV_CALL ZdevQueryBufDownload(int32_t index);
/* The path of the index-th instrument (also stored in that entry); NULL if none.
 * The text stays valid while the library is loaded. */
ZDEV_API const char* ZDEV_CALL ZdevGetDeviceName(int32_t index);
/* Starts (or with NULL stops) the thread that reads the interrupt endpoint. */
ZDEV_API int32_t ZDEV_CALL ZdevSetIntRoutine(int32_t index, ZdevIntRoutine routine);
/* Calls routine for arrivals and departures of instruments whose path
 * contains filter (case-insensitive; NULL or "" matches all); NULL stops. */
ZDEV_API int32_t ZDEV_CALL ZdevSetDeviceNotify(int32_t index, const char* filter,
                                               ZdevNotifyRoutine routine);

#ifdef __cplusplus
}
#endif

#endif /* ZELVO_ZELVODEV_H */
