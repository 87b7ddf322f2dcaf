// Naming and opening the instrument for every verb that talks to one:
// --lan ADDRESS, --usb INDEX, --serial PORT with --baud RATE, or --connect
// lan:ADDRESS|usb:N|serial:N exactly as the application takes it.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/connect_target.h"
#include "zelvo/ZelvoDLL.h"

namespace CLI {
class App;
}

namespace zelvo::cli {

// Where the instrument is: the link and, for a serial line, its baud rate.
struct InstrumentTarget {
    oscilane::ConnectTarget where;
    uint16_t baudIndex = zelvo::tables::kDefaultBaudIndex;
};

// The instrument options, which may be given before or after the verb.
class InstrumentOptions {
  public:
    // Adds the options to a command; every command shares these values.
    void addTo(CLI::App& command);
    // The one instrument named (the local simulator's usual address when none
    // is); throws UsageError when two are named or --baud has no serial line.
    InstrumentTarget target() const;

  private:
    void name(const std::string& option, const oscilane::ConnectTarget& where);

    std::vector<std::string> given_;
    std::optional<oscilane::ConnectTarget> where_;
    std::optional<unsigned> baud_;
};

// Why a baud rate is refused, and why a baud rate without a serial line is.
std::string badBaudRateText(const std::string& rate);
inline constexpr const char* kBaudWithoutSerial =
    "--baud applies to a serial port (--serial or --connect serial:N)";

// What a verb says when a request fails.
inline constexpr const char* kUploadFailed = "the setting block could not be uploaded";
inline constexpr const char* kDeviceInfoFailed = "the device information could not be read";
inline constexpr const char* kNoMeterReading = "no meter reading";

// One open link to an instrument, closed when it goes.
class Instrument {
  public:
    // The open instrument, or none with a one-line reason in *failure.  A USB
    // instrument is listed first: the library opens only what its list found.
    // A LAN or serial link goes into the library's slot 0-15 given; links in
    // different slots may be used at the same time.
    static std::unique_ptr<Instrument> open(const InstrumentTarget& target, std::string* failure,
                                            uint32_t slot = 0);
    ~Instrument();
    Instrument(const Instrument&) = delete;
    Instrument& operator=(const Instrument&) = delete;

    DeviceHandle handle() const { return handle_; }

  private:
    Instrument(uint32_t link, DeviceHandle handle) : link_(link), handle_(handle) {}
    uint32_t link_;
    DeviceHandle handle_;
};

}  // namespace zelvo::cli
