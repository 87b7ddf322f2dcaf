#include "instrument_target.h"

#include <CLI/CLI.hpp>
#include <charconv>

#include "verbs.h"

namespace zelvo::cli {
namespace {

using oscilane::ConnectTarget;

// With nothing named, the client talks to a simulator on this machine.
constexpr uint32_t kDefaultLanAddress = 0x7F000001;  // 127.0.0.1

std::optional<unsigned> decimal(const std::string& text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const std::string& w : words) text += (text.empty() ? "" : ", ") + w;
    return text;
}

}  // namespace

std::string badBaudRateText(const std::string& rate) {
    return "not a baud rate of " + oscilane::BaudRatesText() + ": " + rate;
}

void InstrumentOptions::addTo(CLI::App& command) {
    command
        .add_option_function<std::string>(
            "--lan",
            [this](const std::string& text) {
                name("--lan", {ZELVO_LINK_LAN, 0, *oscilane::ReadDottedAddress(text)});
            },
            "the instrument at this IPv4 address, UDP port 2001 (default 127.0.0.1)")
        ->type_name("ADDRESS")
        ->check(CLI::Validator(
            [](std::string& text) {
                return oscilane::ReadDottedAddress(text) ? std::string()
                                                         : oscilane::NotADottedAddress(text);
            },
            "", "address"));
    command
        .add_option_function<uint32_t>(
            "--usb",
            [this](uint32_t index) {
                name("--usb", {ZELVO_LINK_USB, index, 0});
            },
            "the USB instrument at this index of the device list")
        ->type_name("INDEX")
        ->check(CLI::Range(0u, oscilane::kMaxUsbDeviceIndex));
    command
        .add_option_function<uint32_t>(
            "--serial",
            [this](uint32_t port) {
                name("--serial", {ZELVO_LINK_SERIAL, port, 0});
            },
            "the instrument on serial port PORT (see 'zelvo ports')")
        ->type_name("PORT")
        ->check(CLI::Range(0u, oscilane::kMaxSerialPort));
    command
        .add_option_function<unsigned>(
            "--baud", [this](unsigned rate) { baud_ = rate; },
            "the serial line's baud rate: " + oscilane::BaudRatesText() + " (default " +
                std::to_string(oscilane::kSerialBaudRates[zelvo::tables::kDefaultBaudIndex]) + ")")
        ->type_name("RATE")
        ->check(CLI::Validator(
            [](std::string& text) {
                const auto rate = decimal(text);
                return rate && oscilane::BaudIndexOfRate(*rate) ? std::string()
                                                                : badBaudRateText(text);
            },
            "", "baud"));
    command
        .add_option_function<std::string>(
            "--connect",
            [this](const std::string& text) {
                name("--connect", *oscilane::ParseConnectTarget(text).target);
            },
            "the instrument as the application names it: lan:ADDRESS, usb:N or serial:N")
        ->type_name("INSTRUMENT")
        ->check(CLI::Validator(
            [](std::string& text) { return oscilane::ParseConnectTarget(text).error; }, "",
            "instrument"));
}

void InstrumentOptions::name(const std::string& option, const ConnectTarget& where) {
    given_.push_back(option);
    where_ = where;
}

InstrumentTarget InstrumentOptions::target() const {
    if (given_.size() > 1) throw UsageError("name one instrument, not several: " + joined(given_));
    InstrumentTarget t;
    t.where = where_.value_or(ConnectTarget{ZELVO_LINK_LAN, 0, kDefaultLanAddress});
    if (baud_) {
        if (t.where.link != ZELVO_LINK_SERIAL) throw UsageError(kBaudWithoutSerial);
        t.baudIndex = *oscilane::BaudIndexOfRate(*baud_);
    }
    return t;
}

std::unique_ptr<Instrument> Instrument::open(const InstrumentTarget& target, std::string* failure,
                                             uint32_t slot) {
    const ConnectTarget& where = target.where;
    switch (where.link) {
        case ZELVO_LINK_USB: {
            const DeviceHandle h = ZELVO_HANDLE(ZELVO_LINK_USB, where.number);
            uint8_t listed[oscilane::kMaxUsbDeviceIndex + 1] = {};
            KwGetUSBDeviceList(listed);
            if (listed[where.number] != 1 || KwUSBCheckConnect(h) != 0) {
                *failure = "no USB instrument at index " + std::to_string(where.number);
                return nullptr;
            }
            return std::unique_ptr<Instrument>(new Instrument(where.link, h));
        }
        case ZELVO_LINK_SERIAL: {
            const DeviceHandle h = ZELVO_HANDLE(ZELVO_LINK_SERIAL, slot);
            const int32_t port = static_cast<int32_t>(where.number);
            char path[4096] = {};
            if (KwGetCOMPortPath(port, path, sizeof path) != 0) {
                *failure = "serial port " + std::to_string(port) +
                           " stands for no device (see zelvo ports)";
                return nullptr;
            }
            if (KwComInit(h, port, target.baudIndex) != 0) {
                *failure = "no instrument answers on serial port " + std::to_string(port) + " (" +
                           path + ") at " +
                           std::to_string(oscilane::kSerialBaudRates[target.baudIndex]) + " baud";
                return nullptr;
            }
            return std::unique_ptr<Instrument>(new Instrument(where.link, h));
        }
        default: {
            const DeviceHandle h = ZELVO_HANDLE(ZELVO_LINK_LAN, slot);
            const std::string address = oscilane::DottedAddressText(where.lanAddress);
            if (KwLanInit(h, address.c_str()) != 0) {
                *failure = "no instrument answers at " + address + " (UDP port 2001)";
                return nullptr;
            }
            return std::unique_ptr<Instrument>(new Instrument(where.link, h));
        }
    }
}

Instrument::~Instrument() {
    if (link_ == ZELVO_LINK_LAN) KwLanClose(handle_);
    if (link_ == ZELVO_LINK_SERIAL) KwComClose(handle_);
}

}  // namespace zelvo::cli
