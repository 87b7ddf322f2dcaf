// zelvo-sim: simulated Zelvo instruments for the desktop software and its tests.
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "serial_server.h"
#include "udp_server.h"
#include "usb_bus_server.h"
#include "zelvo/command_codes.h"
#include "zelvo_version.h"

namespace {

void usage() {
    std::fputs(
        "usage: zelvo-sim [--version] [--serial-number SN] [--lan ADDRESS[:PORT] ...] [--serial "
        "...] "
        "[--paced] [--usb SOCKET ...]\n"
        "  Serves one simulated instrument per --lan on a loopback address (127.0.0.0/8),\n"
        "  UDP port 2001 unless given, and one per --serial on a new pseudo-terminal whose\n"
        "  path is printed (ZELVO_COM<n>=PATH makes it port n); --paced sends serial replies\n"
        "  at the baud rate the PC set.  Each --usb puts one instrument on the simulated USB\n"
        "  bus served at the Unix socket SOCKET (ZELVO_USB_SIM=SOCKET selects it for the\n"
        "  driver).  Each further instrument's serial number counts up.\n"
        "  Input signals: --ch1-frequency HZ --ch1-amplitude V (a sine), --ch2-frequency HZ\n"
        "  --ch2-amplitude V (a square wave), --noise CODES.\n"
        "  Stops on SIGINT or SIGTERM.\n",
        stderr);
}

struct Endpoint {
    std::string address;
    uint16_t port;
};

bool parseEndpoint(const std::string& text, Endpoint& out) {
    const auto colon = text.find(':');
    out.address = text.substr(0, colon);
    out.port = zelvo::kLanPort;
    if (colon == std::string::npos) return !out.address.empty();
    char* end = nullptr;
    const unsigned long port = std::strtoul(text.c_str() + colon + 1, &end, 10);
    if (*end != '\0' || port == 0 || port > 65535) return false;
    out.port = static_cast<uint16_t>(port);
    return !out.address.empty();
}

// The input-signal setting an option names, if any.
double* signalOption(zelvo::sim::InputSignals& signals, const std::string& option) {
    if (option == "--ch1-frequency") return &signals.ch1Frequency;
    if (option == "--ch1-amplitude") return &signals.ch1Amplitude;
    if (option == "--ch2-frequency") return &signals.ch2Frequency;
    if (option == "--ch2-amplitude") return &signals.ch2Amplitude;
    if (option == "--noise") return &signals.noiseCodes;
    return nullptr;
}

std::string numberedSerial(const std::string& base, std::size_t k) {
    if (k == 0) return base;
    return base + "-" + std::to_string(k + 1);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<Endpoint> endpoints;
    std::size_t serialLines = 0;
    std::size_t usbInstruments = 0;
    std::string usbSocket;
    bool paced = false;
    zelvo::sim::InputSignals signals;
    std::string serialBase = zelvo::sim::Identity{}.serialNumber;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--version") {
            std::puts("zelvo-sim " ZELVO_VERSION);
            return 0;
        } else if (arg == "--serial") {
            ++serialLines;
        } else if (double* setting = signalOption(signals, arg); setting && i + 1 < argc) {
            char* end = nullptr;
            *setting = std::strtod(argv[++i], &end);
            const bool frequency = arg.find("frequency") != std::string::npos;
            if (*end != '\0' || !std::isfinite(*setting) || *setting < 0 ||
                (frequency && *setting <= 0)) {
                std::fprintf(stderr, "zelvo-sim: bad value for %s\n", arg.c_str());
                return 2;
            }
        } else if (arg == "--paced") {
            paced = true;
        } else if (arg == "--usb" && i + 1 < argc) {
            const std::string socket = argv[++i];
            if (!usbSocket.empty() && socket != usbSocket) {
                std::fputs("zelvo-sim: every --usb must name the same socket\n", stderr);
                return 2;
            }
            usbSocket = socket;
            ++usbInstruments;
        } else if ((arg == "--lan" || arg == "--serial-number") && i + 1 < argc) {
            const std::string value = argv[++i];
            if (arg == "--serial-number") {
                serialBase = value;
                continue;
            }
            Endpoint e;
            if (!parseEndpoint(value, e)) {
                std::fprintf(stderr, "zelvo-sim: bad address '%s'\n", value.c_str());
                return 2;
            }
            endpoints.push_back(e);
        } else {
            usage();
            return arg == "--help" ? 0 : 2;
        }
    }
    if (endpoints.empty() && serialLines == 0 && usbInstruments == 0)
        endpoints.push_back({"127.0.0.1", zelvo::kLanPort});

    // Block the stop signals before any thread starts, then wait for one here.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    std::vector<std::unique_ptr<zelvo::sim::SimulatedInstrument>> instruments;
    std::vector<std::unique_ptr<zelvo::sim::UdpServer>> servers;
    std::vector<std::unique_ptr<zelvo::sim::SerialServer>> serialServers;
    std::unique_ptr<zelvo::sim::UsbBusServer> usbBus;
    try {
        for (std::size_t k = 0; k < endpoints.size(); ++k) {
            zelvo::sim::Identity id;
            id.serialNumber = numberedSerial(serialBase, k);
            instruments.push_back(std::make_unique<zelvo::sim::SimulatedInstrument>(id, signals));
            servers.push_back(std::make_unique<zelvo::sim::UdpServer>(
                *instruments.back(), endpoints[k].address, endpoints[k].port));
            servers.back()->start();
            std::printf("zelvo-sim: instrument %s on udp %s:%u\n", id.serialNumber.c_str(),
                        endpoints[k].address.c_str(), endpoints[k].port);
        }
        for (std::size_t k = 0; k < serialLines; ++k) {
            zelvo::sim::Identity id;
            id.serialNumber = numberedSerial(serialBase, endpoints.size() + k);
            instruments.push_back(std::make_unique<zelvo::sim::SimulatedInstrument>(id, signals));
            serialServers.push_back(
                std::make_unique<zelvo::sim::SerialServer>(*instruments.back()));
            serialServers.back()->setPaced(paced);
            serialServers.back()->start();
            std::printf("zelvo-sim: instrument %s on serial %s\n", id.serialNumber.c_str(),
                        serialServers.back()->path().c_str());
        }
        if (usbInstruments > 0) usbBus = std::make_unique<zelvo::sim::UsbBusServer>(usbSocket);
        for (std::size_t k = 0; k < usbInstruments; ++k) {
            zelvo::sim::Identity id;
            id.serialNumber = numberedSerial(serialBase, endpoints.size() + serialLines + k);
            instruments.push_back(std::make_unique<zelvo::sim::SimulatedInstrument>(id, signals));
            const zelvo::sim::UsbIdentity usb;
            const uint32_t port = usbBus->attach(*instruments.back(), usb);
            std::printf("zelvo-sim: instrument %s on usb %s, id %04x:%04x\n",
                        id.serialNumber.c_str(), usbBus->pathOf(port).c_str(), usb.vendor,
                        usb.product);
        }
        if (usbBus) {
            usbBus->start();
            std::printf("zelvo-sim: usb bus at %s (ZELVO_USB_SIM=%s ZELVO_USB_IDS=%04x:%04x)\n",
                        usbSocket.c_str(), usbSocket.c_str(), zelvo::sim::UsbIdentity{}.vendor,
                        zelvo::sim::UsbIdentity{}.product);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zelvo-sim: %s\n", e.what());
        return 1;
    }
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    for (auto& s : servers) s->stop();
    for (auto& s : serialServers) s->stop();
    if (usbBus) usbBus->stop();
    std::printf("zelvo-sim: stopped\n");
    return 0;
}
