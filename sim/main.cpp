// zelvo-sim: simulated Zelvo instruments for the desktop software and its tests.
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <fstream>
#include <iterator>
#include <variant>

#include "serial_server.h"
#include "session_replay.h"
#include "simulated_instrument.h"
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
        "       zelvo-sim --replay FILE [--lan ADDRESS[:PORT] | --serial | --usb SOCKET] [--loop] "
        "[--realtime]\n"
        "  Serves one simulated instrument per --lan on a loopback address (127.0.0.0/8),\n"
        "  UDP port 2001 unless given, and one per --serial on a new pseudo-terminal whose\n"
        "  path is printed (ZELVO_COM<n>=PATH makes it port n); --paced sends serial replies\n"
        "  at the baud rate the PC set.  Each --usb puts one instrument on the simulated USB\n"
        "  bus served at the Unix socket SOCKET (ZELVO_USB_SIM=SOCKET selects it for the\n"
        "  driver).  Each further instrument's serial number counts up.\n"
        "  Input signals: --ch1-frequency HZ --ch1-amplitude V (a sine), --ch2-frequency HZ\n"
        "  --ch2-amplitude V (a square wave), --noise CODES.\n"
        "  --replay FILE serves a session recording (ZELVO_RECORD) instead, over one --lan\n"
        "  (the default), --serial or --usb; --loop starts it again at its end, --realtime\n"
        "  keeps its pauses.\n"
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

// Waits for SIGINT or SIGTERM, which the caller blocked before any thread started.
void waitForStop(const sigset_t& stopSignals) {
    int signal = 0;
    sigwait(&stopSignals, &signal);
}

// The whole exchanges of the recording at path; none, with the reason on
// standard error, when it cannot be read.
std::optional<std::vector<zelvo::session::Exchange>> loadRecording(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "zelvo-sim: cannot read %s: %s\n", path.c_str(), std::strerror(errno));
        return std::nullopt;
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    auto parsed = zelvo::session::parseRecording(text);
    if (const auto* error = std::get_if<zelvo::session::ParseError>(&parsed)) {
        std::fprintf(stderr, "zelvo-sim: %s line %zu: %s\n", path.c_str(), error->line,
                     error->reason.c_str());
        return std::nullopt;
    }
    auto& recording = std::get<zelvo::session::Recording>(parsed);
    if (recording.lastLineCut)
        std::printf(
            "zelvo-sim: the last line of %s is cut short (the recording ended in a "
            "crash); replaying the %zu whole exchanges before it\n",
            path.c_str(), recording.exchanges.size());
    return std::move(recording.exchanges);
}

struct ReplayRun {
    std::string path;
    zelvo::sim::ReplayOptions options;
};

// Serves the recording over the one transport asked for until stopped.
int serveReplay(const ReplayRun& run, const std::vector<Endpoint>& endpoints, bool serial,
                const std::string& usbSocket, const sigset_t& stopSignals) {
    auto exchanges = loadRecording(run.path);
    if (!exchanges) return 1;
    const std::size_t count = exchanges->size();
    zelvo::sim::SessionReplay replay(std::move(*exchanges), run.options);
    std::unique_ptr<zelvo::sim::UdpServer> udp;
    std::unique_ptr<zelvo::sim::SerialServer> serialServer;
    std::unique_ptr<zelvo::sim::UsbBusServer> usbBus;
    std::string where;
    try {
        if (serial) {
            serialServer = std::make_unique<zelvo::sim::SerialServer>(replay);
            serialServer->start();
            where = "serial " + serialServer->path();
        } else if (!usbSocket.empty()) {
            usbBus = std::make_unique<zelvo::sim::UsbBusServer>(usbSocket);
            const zelvo::sim::UsbIdentity usb;
            const uint32_t port = usbBus->attach(replay, usb);
            usbBus->start();
            char ids[16];
            std::snprintf(ids, sizeof ids, "%04x:%04x", usb.vendor, usb.product);
            where = "usb " + usbBus->pathOf(port) + " (ZELVO_USB_SIM=" + usbSocket +
                    " ZELVO_USB_IDS=" + ids + ")";
        } else {
            const Endpoint& e = endpoints.front();
            udp = std::make_unique<zelvo::sim::UdpServer>(replay, e.address, e.port);
            udp->start();
            where = "udp " + e.address + ":" + std::to_string(e.port);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zelvo-sim: %s\n", e.what());
        return 1;
    }
    std::printf("zelvo-sim: replaying %s (%zu exchanges) on %s\n", run.path.c_str(), count,
                where.c_str());
    std::fflush(stdout);
    waitForStop(stopSignals);
    if (udp) udp->stop();
    if (serialServer) serialServer->stop();
    if (usbBus) usbBus->stop();
    const zelvo::sim::ReplayCounts counts = replay.counts();
    std::printf("zelvo-sim: stopped; %zu requests matched, %zu fell back, %zu went unanswered\n",
                counts.matched, counts.fellBack, counts.unanswered);
    return 0;
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
    std::optional<ReplayRun> replay;
    zelvo::sim::ReplayOptions replayOptions;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--replay" && i + 1 < argc) {
            replay = ReplayRun{argv[++i], {}};
        } else if (arg == "--loop") {
            replayOptions.loop = true;
        } else if (arg == "--realtime") {
            replayOptions.realtime = true;
        } else if (arg == "--version") {
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
    const std::size_t transports = endpoints.size() + serialLines + usbInstruments;
    if (replay && transports > 1) {
        std::fputs("zelvo-sim: --replay serves over one --lan, --serial or --usb\n", stderr);
        return 2;
    }
    if (!replay && (replayOptions.loop || replayOptions.realtime)) {
        std::fputs("zelvo-sim: --loop and --realtime go with --replay\n", stderr);
        return 2;
    }
    if (endpoints.empty() && serialLines == 0 && usbInstruments == 0)
        endpoints.push_back({"127.0.0.1", zelvo::kLanPort});

    // Block the stop signals before any thread starts, then wait for one here.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    if (replay) {
        replay->options = replayOptions;
        return serveReplay(*replay, endpoints, serialLines > 0, usbSocket, stopSignals);
    }

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

    waitForStop(stopSignals);
    for (auto& s : servers) s->stop();
    for (auto& s : serialServers) s->stop();
    if (usbBus) usbBus->stop();
    std::printf("zelvo-sim: stopped\n");
    return 0;
}
