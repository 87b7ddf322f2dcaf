/*
 * ZelvoDLL: the device link library of the Zelvo instrument, over USB, a
 * serial line or UDP.  zelvo_common.h holds the conventions and the exports
 * shared with the developer kit; this header adds the rest.
 */
#ifndef ZELVO_ZELVODLL_H
#define ZELVO_ZELVODLL_H

#include "zelvo/zelvo_common.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Size of the block filled by DSOUploadSetting. */
#define ZELVO_SETTING_BLOCK_SIZE 10148

/* ---- Serial and LAN links ---- */

/* Opens serial slot h on port "com<port>" at baud index 0-5 (300..9600) and checks the link.
 * On Linux a port number stands for a device path, fixed when the library is loaded: the
 * variables ZELVO_COM<n>=PATH name the ports when any is set (nothing else is then looked
 * at); otherwise the serial devices present are numbered from 1 on, /dev/ttyS* first, then
 * /dev/ttyUSB*, then /dev/ttyACM*, each in ascending order.  The active system console is
 * never a port. */
ZELVO_API int ZELVO_CALL KwComInit(DeviceHandle h, int32_t port, uint16_t baudIndex);
ZELVO_API int ZELVO_CALL KwComClose(DeviceHandle h);
/* Stores the numbers of the ports 0-15 that open, packed from list[0]; returns their count.
 * A port that a slot holds open is left untouched (and is not listed: ports open exclusively). */
ZELVO_API int ZELVO_CALL KwGetCOMDeviceList(uint8_t list[16]);
/* Copies the device path of port "com<port>" into path (size bytes, NUL-terminated);
 * 1 when the port has no device or the path does not fit. */
ZELVO_API int ZELVO_CALL KwGetCOMPortPath(int32_t port, char* path, uint32_t size);
/* Link check on any link kind: 0 when the instrument acknowledges. */
ZELVO_API int ZELVO_CALL KwCheckComOK(DeviceHandle h);
/* Opens LAN slot h to the dotted IPv4 address, UDP port 2001, and checks the link (one retry). */
ZELVO_API int ZELVO_CALL KwLanInit(DeviceHandle h, const char* address);
ZELVO_API int ZELVO_CALL KwLanClose(DeviceHandle h);
/* 1 when acknowledged, 0 otherwise (the inverse of the usual convention). */
ZELVO_API int ZELVO_CALL KwSetETSUpdate(DeviceHandle h, uint8_t value);
/* Stores the instrument's ETS flag; leaves *value unchanged and returns 1 on failure. */
ZELVO_API int ZELVO_CALL KwGetETSUpdate(DeviceHandle h, uint8_t* value);

/* ---- Oscilloscope ---- */

ZELVO_API int ZELVO_CALL DSOSetBWLimit(DeviceHandle h, int32_t channel, int32_t value);
/* Fills block with the instrument's complete scope state and four traces.
 * The block is changed only when the whole upload succeeded. */
ZELVO_API int ZELVO_CALL DSOUploadSetting(DeviceHandle h, uint8_t block[ZELVO_SETTING_BLOCK_SIZE]);

/* ---- Progress of block reads ----
 * A block read (DSOUploadSetting, KwGetDeviceInfo, KwScreenShoot, DMMGetInfo) can take
 * minutes on a slow serial line: a 10148-byte upload at 300 baud takes about six.  These
 * two may be called from any thread while another thread runs the read on link h. */

/* Stores the data bytes the running block read on h has received so far and the block's
 * length.  Returns 0 while a block read runs; 1 when none does (the values then describe
 * the last one) or h names no link. */
ZELVO_API int ZELVO_CALL KwGetBlockProgress(DeviceHandle h, uint32_t* received, uint32_t* total);
/* Asks the block read running on h to stop: it fails (result 1) before it requests its
 * next reply.  Does nothing when no block read runs.  Returns 0, or 1 when h names no link. */
ZELVO_API int ZELVO_CALL KwCancelBlockRead(DeviceHandle h);
/* Ends the exchange running on h instead of letting it wait out its time-out for a silent
 * instrument: a serial link stops at its next quiet wait, a USB transfer in flight ends at
 * once, and the exchange fails (result 1).  Does nothing between exchanges, so a caller
 * closing a link repeats it until its own thread is out of the library.
 * Returns 0, or 1 when h names no link. */
ZELVO_API int ZELVO_CALL KwAbortExchange(DeviceHandle h);

/* ---- Multimeter ---- */

/* 0 when a reading was fetched and decoded; 1 when the read failed or shows no known mode. */
ZELVO_API int ZELVO_CALL DMMGetInfo(DeviceHandle h, DmmInfo* info);

#ifdef __cplusplus
}
#endif

#endif /* ZELVO_ZELVODLL_H */
