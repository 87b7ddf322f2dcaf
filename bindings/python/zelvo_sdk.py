"""Drive a Zelvo instrument over USB from Python, through the developer kit.

    import zelvo_sdk
    kit = zelvo_sdk.Kit()                      # loads libsdkZelvoDLL.so
    for index in kit.instruments():
        print(kit.device_info(index))
        settings = kit.all_settings(index)
        print(settings.time_base, settings.traces_volts[0][:10])

Only the standard library is used (ctypes).  Set ZELVO_SDK_LIBRARY to the
library's path when it is not on the loader's search path.
"""

import ctypes
import os

_SAMPLES = 1200
_BLANKED = 32767
# Millivolts per division by the instrument's volts index; the kit's index 0 is the instrument's 4.
_MILLIVOLTS = [0.5, 1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000]
_KIT_VOLTS_OFFSET = 4
_PROBE_FACTOR = [1, 10, 100, 1000]


class DeviceInfo(ctypes.Structure):
    _fields_ = [("name", ctypes.c_char * 20), ("serialNumber", ctypes.c_char * 20),
                ("identification", ctypes.c_uint16 * 5), ("date", ctypes.c_uint32)]


class ChannelRecord(ctypes.Structure):
    _pack_ = 1
    _fields_ = [(n, ctypes.c_int16) for n in ("shown", "voltsIndex", "coupling", "probe", "invert",
                                               "bandwidth20M", "bandwidth100M")] + [
        ("unused14", ctypes.c_uint8 * 2), ("voltsValue", ctypes.c_uint32)] + [
        (n, ctypes.c_int16) for n in ("position", "triggerLevel", "setting24", "setting26", "setting28",
                                      "altTimeBase", "voltsStep", "blankMode", "blankStart", "blankEnd")]


class TriggerRecord(ctypes.Structure):
    _pack_ = 1
    _fields_ = [(n, ctypes.c_uint16) for n in ("type", "source", "sweep", "slope", "hfReject",
                                                "pulseCondition")] + [("pulseWidth", ctypes.c_uint32)]


class WaveformRecord(ctypes.Structure):
    _pack_ = 1
    _fields_ = [("step", ctypes.c_uint32), ("origin", ctypes.c_uint32), ("sampleCount", ctypes.c_uint32),
                ("vector", ctypes.c_uint16), ("setting14", ctypes.c_uint16)]


class KitSettings(ctypes.Structure):
    _pack_ = 1
    _fields_ = [("channels", ChannelRecord * 4), ("setting160", ctypes.c_int16), ("unused162", ctypes.c_uint8 * 2),
                ("captured", ChannelRecord * 4), ("setting324", ctypes.c_int16), ("unused326", ctypes.c_uint8 * 2),
                ("math", ctypes.c_uint32 * 4), ("mainTrigger", TriggerRecord), ("altTriggers", TriggerRecord * 2),
                ("waveforms", WaveformRecord * 4)] + [
        (n, ctypes.c_int16) for n in ("timeBase", "horizontalTrigger", "runStop", "fftSource", "triggerMode",
                                      "fftWindow", "displayFormat", "fftScale", "setting472")] + [
        ("unused474", ctypes.c_uint8 * 2), ("setting476", ctypes.c_uint32), ("setting480", ctypes.c_int16),
        ("unused482", ctypes.c_uint8 * 2)]


class KitDmmInfo(ctypes.Structure):
    _pack_ = 1
    _fields_ = [(n, ctypes.c_uint8) for n in ("measureMode", "overload", "ac", "manualRange", "rel",
                                               "rangeIndex", "milliamps", "barValue", "barSign")] + [
        ("zero", ctypes.c_uint8 * 3), ("digits", ctypes.c_uint8 * 4), ("value", ctypes.c_float)] + [
        (n, ctypes.c_uint8) for n in ("decimalScale", "prefixIndex", "unitIndex", "negative")] + [
        ("auxDigits", ctypes.c_uint8 * 4), ("auxValue", ctypes.c_float)] + [
        (n, ctypes.c_uint8) for n in ("auxDecimalType", "auxByteB", "auxByteA", "auxSign")]


assert ctypes.sizeof(KitSettings) == 484 and ctypes.sizeof(KitDmmInfo) == 36


class KitError(RuntimeError):
    """An instrument call failed (the instrument did not answer or refused)."""


class Settings:
    """The scope state: the raw record and the four traces (CH1, CH2, MATH, REF)."""

    def __init__(self, record, traces):
        self.record = record
        self.traces = traces
        self.time_base = record.timeBase
        self.traces_volts = [self._volts(k) for k in range(4)]

    def _volts(self, k):
        """Trace k in volts (None where blanked), by the channel's scale and position."""
        ch = self.record.channels[k]
        index = ch.voltsIndex + _KIT_VOLTS_OFFSET
        if not 0 <= index < len(_MILLIVOLTS):
            return [None] * _SAMPLES
        millivolts = _MILLIVOLTS[index] * _PROBE_FACTOR[ch.probe & 3]
        zero = 255.0 - ch.position * 255.0 / 199.0
        return [None if code == _BLANKED else (code - zero) * millivolts * 8.0 / 255.0 / 1000.0
                for code in self.traces[k]]


class Kit:
    """The developer kit library, loaded once."""

    def __init__(self, path=None):
        self._lib = ctypes.CDLL(path or os.environ.get("ZELVO_SDK_LIBRARY", "libsdkZelvoDLL.so"))

    def _check(self, result, what):
        if result != 0:
            raise KitError(f"{what} failed")

    def instruments(self):
        """The USB device indexes where an instrument is present."""
        present = (ctypes.c_uint8 * 16)()
        self._lib.KwGetUSBDeviceList(present)
        return [k for k in range(16) if present[k]]

    def device_info(self, index):
        """Name, serial number and build date (year, month, day) of the instrument."""
        info = DeviceInfo()
        self._check(self._lib.KwGetDeviceInfo(ctypes.c_uint32(index), ctypes.byref(info)), "device information")
        return {"name": info.name.decode("latin-1"), "serial_number": info.serialNumber.decode("latin-1"),
                "date": (info.date >> 16, (info.date >> 8) & 0xFF, info.date & 0xFF)}

    def all_settings(self, index):
        """The scope's complete state with its four traces (see Settings)."""
        record = KitSettings()
        traces = [(ctypes.c_int16 * _SAMPLES)() for _ in range(4)]
        self._check(self._lib.DSOGetAllSetting(ctypes.c_uint32(index), ctypes.byref(record), *traces),
                    "reading the settings")
        return Settings(record, [list(t) for t in traces])

    def screen_capture(self, index, path):
        """Saves the instrument's screen as a 320 x 240 bitmap file at path."""
        self._check(self._lib.KwScreenShoot(ctypes.c_uint32(index), os.fsencode(path)), "screen capture")

    def meter_reading(self, index):
        """One meter reading as a KitDmmInfo record (value, measureMode, unitIndex, ...)."""
        info = KitDmmInfo()
        self._check(self._lib.DMMGetInfo(ctypes.c_uint32(index), ctypes.byref(info)), "meter reading")
        return info
