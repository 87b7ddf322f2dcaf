// zelvo: asks an instrument for its information, a meter reading and its
// scope state, and saves its screen as a bitmap file.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "summary.h"
#include "usb_scan.h"
#include "zelvo/ZelvoDLL.h"

namespace {

void usage() {
    std::fputs(
        "usage: zelvo [--lan ADDRESS | --usb INDEX] [--screen FILE]\n"
        "             [info|meter|settings|screen|all|ports|usb-scan]\n"
        "  Connects over UDP to the instrument at ADDRESS (default 127.0.0.1) and shows\n"
        "  the device information, one meter reading and a summary of the scope state;\n"
        "  'screen' and 'all' save the instrument's screen (default zelvo-screen.bmp).\n"
        "  'ports' prints which device each serial port number stands for.\n"
        "  --usb uses the USB instrument at INDEX of the device list instead;\n"
        "  'usb-scan' lists USB devices with the instrument's endpoints and their IDs.\n",
        stderr);
}

// The library's serial port map: port numbers 0 to 255 and their devices.
int printSerialPorts() {
    char path[4096];
    for (int port = 0; port <= 255; ++port)
        if (KwGetCOMPortPath(port, path, sizeof path) == 0) std::printf("com%d %s\n", port, path);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string address = "127.0.0.1";
    std::string screenFile = "zelvo-screen.bmp";
    std::string what = "all";
    int usbIndex = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--lan" && i + 1 < argc)
            address = argv[++i];
        else if (arg == "--usb" && i + 1 < argc)
            usbIndex = std::atoi(argv[++i]);
        else if (arg == "--screen" && i + 1 < argc)
            screenFile = argv[++i];
        else if (arg == "info" || arg == "meter" || arg == "settings" || arg == "screen" ||
                 arg == "all" || arg == "ports" || arg == "usb-scan")
            what = arg;
        else {
            usage();
            return arg == "--help" ? 0 : 2;
        }
    }

    if (what == "ports") return printSerialPorts();
    if (what == "usb-scan") return zelvo::cli::printUsbScan();

    const bool usb = usbIndex >= 0;
    const DeviceHandle h = usb ? ZELVO_HANDLE(ZELVO_LINK_USB, static_cast<uint32_t>(usbIndex))
                               : ZELVO_HANDLE(ZELVO_LINK_LAN, 0);
    if (usb) {
        uint8_t list[16] = {};
        KwGetUSBDeviceList(list);
        if (usbIndex > 15 || list[usbIndex] == 0 || KwUSBCheckConnect(h) != 0) {
            std::fprintf(stderr, "zelvo: no USB instrument at index %d\n", usbIndex);
            return 1;
        }
    } else if (KwLanInit(h, address.c_str()) != 0) {
        std::fprintf(stderr, "zelvo: no instrument answers at %s (UDP port 2001)\n",
                     address.c_str());
        return 1;
    }
    int failures = 0;
    const bool all = what == "all";
    if (all || what == "info") {
        DeviceInfo info{};
        if (KwGetDeviceInfo(h, &info) == 0)
            std::fputs(zelvo::cli::describeDeviceInfo(info).c_str(), stdout);
        else {
            std::fputs("zelvo: the device information could not be read\n", stderr);
            ++failures;
        }
    }
    if (all || what == "meter") {
        DmmInfo reading{};
        if (DMMGetInfo(h, &reading) == 0)
            std::fputs(zelvo::cli::describeMeterReading(reading).c_str(), stdout);
        else {
            std::fputs("zelvo: no meter reading\n", stderr);
            ++failures;
        }
    }
    if (all || what == "settings") {
        std::vector<uint8_t> block(ZELVO_SETTING_BLOCK_SIZE);
        if (DSOUploadSetting(h, block.data()) == 0)
            std::fputs(zelvo::cli::describeSettingBlock(block).c_str(), stdout);
        else {
            std::fputs("zelvo: the setting block could not be uploaded\n", stderr);
            ++failures;
        }
    }
    if (all || what == "screen") {
        if (KwScreenShoot(h, screenFile.c_str()) == 0)
            std::printf("screen saved to %s\n", screenFile.c_str());
        else {
            std::fprintf(stderr, "zelvo: the screen could not be saved to %s\n",
                         screenFile.c_str());
            ++failures;
        }
    }
    if (!usb) KwLanClose(h);
    return failures == 0 ? 0 : 1;
}
