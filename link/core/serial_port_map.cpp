#include "core/serial_port_map.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <sstream>

namespace zelvo::link {
namespace {

constexpr std::string_view kVariablePrefix = "ZELVO_COM";
// Device families in the order they are numbered.
constexpr std::array<std::string_view, 3> kFamilies = {"ttyS", "ttyUSB", "ttyACM"};
constexpr const char* kActiveConsole = "/sys/class/tty/console/active";

// A decimal number without sign or leading zeros, or none.
std::optional<unsigned> decimal(std::string_view text) {
    if (text.empty() || (text.size() > 1 && text[0] == '0')) return std::nullopt;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

struct FamilyMember {
    std::size_t family;
    unsigned number;
};

std::optional<FamilyMember> familyMember(std::string_view name) {
    for (std::size_t f = 0; f < kFamilies.size(); ++f) {
        if (!name.starts_with(kFamilies[f])) continue;
        if (auto n = decimal(name.substr(kFamilies[f].size()))) return FamilyMember{f, *n};
    }
    return std::nullopt;
}

std::optional<dev_t> characterDevice(const std::string& path) {
    struct stat s {};
    if (::stat(path.c_str(), &s) != 0 || !S_ISCHR(s.st_mode)) return std::nullopt;
    return s.st_rdev;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A ttyS node exists for every UART the kernel reserves; only those with a
// known UART type (sysfs "type" other than 0) have hardware behind them.
bool present(const std::string& name) {
    const std::string sys = "/sys/class/tty/" + name;
    struct stat s {};
    if (::stat((sys + "/device").c_str(), &s) != 0) return false;
    if (!name.starts_with("ttyS")) return true;
    const std::string type = readFile(sys + "/type");
    const auto value = decimal(type.substr(0, type.find('\n')));
    return value && *value != 0;
}

std::vector<std::string> devNames() {
    std::vector<std::string> names;
    DIR* dir = ::opendir("/dev");
    if (dir == nullptr) return names;
    while (const dirent* entry = ::readdir(dir)) names.emplace_back(entry->d_name);
    ::closedir(dir);
    return names;
}

}  // namespace

SerialPortMap portsFromEnvironment(const char* const* environment) {
    SerialPortMap map;
    for (; environment != nullptr && *environment != nullptr; ++environment) {
        const std::string_view entry = *environment;
        if (!entry.starts_with(kVariablePrefix)) continue;
        const auto equals = entry.find('=');
        if (equals == std::string_view::npos) continue;
        const auto port =
            decimal(entry.substr(kVariablePrefix.size(), equals - kVariablePrefix.size()));
        const std::string_view path = entry.substr(equals + 1);
        if (port && *port <= 255 && !path.empty())
            map[static_cast<uint8_t>(*port)] = std::string(path);
    }
    return map;
}

std::vector<std::string> orderedSerialDevices(std::vector<std::string> names) {
    std::erase_if(names, [](const std::string& n) { return !familyMember(n); });
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const FamilyMember x = *familyMember(a), y = *familyMember(b);
        return x.family != y.family ? x.family < y.family : x.number < y.number;
    });
    return names;
}

std::vector<std::string> consoleNames(std::string_view activeConsoleText) {
    std::vector<std::string> names;
    std::istringstream words{std::string(activeConsoleText)};
    for (std::string w; words >> w;) names.push_back(w);
    return names;
}

SerialPortMap numberDevices(const std::vector<std::string>& orderedNames,
                            const std::vector<std::string>& consoles) {
    SerialPortMap map;
    unsigned port = 1;
    for (const std::string& name : orderedNames) {
        if (port > 255) break;
        if (std::find(consoles.begin(), consoles.end(), name) != consoles.end()) continue;
        map[static_cast<uint8_t>(port++)] = "/dev/" + name;
    }
    return map;
}

SerialPortMap withoutDevices(SerialPortMap map, const std::set<dev_t>& devices) {
    std::erase_if(map, [&](const auto& entry) {
        const auto device = characterDevice(entry.second);
        return device && devices.contains(*device);
    });
    return map;
}

SerialPortMap systemPortMap(const char* const* environment) {
    const std::vector<std::string> consoles = consoleNames(readFile(kActiveConsole));
    std::set<dev_t> consoleDevices;
    for (const std::string& name : consoles)
        if (auto d = characterDevice("/dev/" + name)) consoleDevices.insert(*d);
    if (auto d = characterDevice("/dev/console")) consoleDevices.insert(*d);

    SerialPortMap fromEnvironment = portsFromEnvironment(environment);
    if (!fromEnvironment.empty()) return withoutDevices(std::move(fromEnvironment), consoleDevices);

    std::vector<std::string> names = orderedSerialDevices(devNames());
    std::erase_if(names, [](const std::string& n) { return !present(n); });
    return withoutDevices(numberDevices(names, consoles), consoleDevices);
}

}  // namespace zelvo::link
