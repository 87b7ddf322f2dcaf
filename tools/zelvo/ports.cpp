#include "ports.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>

#include "model/connect_target.h"
#include "zelvo/ZelvoDLL.h"

namespace zelvo::cli {
namespace {

// Every port of the library's port map, marking those whose device is gone.
int printSerialPorts() {
    int present = 0;
    char path[4096];
    for (uint32_t port = 0; port <= oscilane::kMaxSerialPort; ++port) {
        if (KwGetCOMPortPath(static_cast<int32_t>(port), path, sizeof path) != 0) continue;
        std::error_code error;
        const bool exists = std::filesystem::exists(path, error);
        std::printf("com%u %s%s\n", port, path, exists ? "" : " (no such device)");
        present += exists;
    }
    if (present == 0)
        std::puts("no serial port (ZELVO_COM<n>=PATH makes PATH port n; see README.md)");
    return kExitSuccess;
}

}  // namespace

void addPortsVerb(CLI::App& parser, VerbTable& verbs) {
    verbs.add(parser, "ports",
              "List the serial port numbers the library knows and the device each stands for.",
              printSerialPorts);
}

}  // namespace zelvo::cli
