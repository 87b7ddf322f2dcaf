"""The Zelvo instrument from Python: scope captures as NumPy arrays, the
automatic measurements, the meter and the generator's waveform files.

    import zelvo
    with zelvo.open("lan:192.0.2.7") as inst:
        cap = inst.capture()
        volts = cap["CH1"].volts          # numpy.float64, nan where blanked
        print(cap["CH1"].measure()["frequency"])

Every number and text comes from the same C++ libraries as the Oscilane
windows and the zelvo client.
"""
import sys as _sys

from ._zelvo import (  # noqa: F401  (the package's interface)
    Capture,
    ChannelSettings,
    ConnectionError,
    DeviceInfo,
    Error,
    Instrument,
    MeterMode,
    MeterReading,
    ScopeSettings,
    TriggerMode,
    TriggerSettings,
    UsageError,
    Waveform,
    __version__,
    generator,
    open,
)

# "import zelvo.generator" finds the submodule the extension made.
_sys.modules[__name__ + ".generator"] = generator

__all__ = [
    "Capture", "ChannelSettings", "ConnectionError", "DeviceInfo", "Error",
    "Instrument", "MeterMode", "MeterReading", "ScopeSettings", "TriggerMode",
    "TriggerSettings", "UsageError", "Waveform", "generator", "open",
]
