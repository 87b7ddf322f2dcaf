#include "client_runner.h"

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>

namespace zelvo::testing {

ScratchFolder::ScratchFolder() {
    char pattern[] = "/tmp/zelvo-client-test-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

ClientRun runClient(const std::vector<std::string>& arguments,
                    const std::map<std::string, std::string>& environment) {
    std::map<std::string, std::string> variables = {
        {"ZELVO_COM1", "/nonexistent/zelvo-com1"},
        {"ZELVO_USB_SIM", "/nonexistent/zelvo-usb"},
        {"ZELVO_USB_IDS", "1209:0001"},
    };
    for (const auto& [name, value] : environment) variables[name] = value;
    std::vector<std::string> words = {ZELVO_CLIENT_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    return ChildProcess(words, variables).finish();
}

}  // namespace zelvo::testing
