#include "channel_option.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <optional>

#include "model/scope_settings.h"

namespace zelvo::cli {
namespace {

struct NamedChannel {
    const char* name;
    int channel;
};
constexpr NamedChannel kChannels[] = {
    {"CH1", oscilane::kCh1}, {"CH2", oscilane::kCh2}, {"MATH", oscilane::kMath}};
constexpr const char* kAllName = "all";

}  // namespace

std::optional<int> channelNamed(std::string name, ChannelChoice choice) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    for (const NamedChannel& c : kChannels)
        if (name == c.name) return c.channel;
    if (choice == ChannelChoice::OneTraceOrAll && name == "ALL") return kAllChannels;
    return std::nullopt;
}

std::string unknownChannelText(const std::string& name, ChannelChoice choice) {
    return "'" + name + "' is not a channel: the channels are CH1, CH2 and MATH" +
           (choice == ChannelChoice::OneTraceOrAll ? ", or all" : "");
}

CLI::Option* addChannelOption(CLI::App& verb, int& channel, const std::string& description,
                              ChannelChoice choice) {
    const CLI::Validator known(
        [choice](std::string& name) -> std::string {
            if (channelNamed(name, choice)) return {};
            return unknownChannelText(name, choice);
        },
        // No name of its own: the help shows the option's type name once.
        "");
    return verb
        .add_option_function<std::string>(
            "--channel",
            [&channel, choice](const std::string& name) { channel = *channelNamed(name, choice); },
            description)
        ->check(known)
        ->type_name(choice == ChannelChoice::OneTraceOrAll ? "CH1|CH2|MATH|all" : "CH1|CH2|MATH")
        ->default_str(channelName(channel));
}

const char* channelName(int channel) {
    for (const NamedChannel& c : kChannels)
        if (c.channel == channel) return c.name;
    if (channel == kAllChannels) return kAllName;
    return "?";
}

}  // namespace zelvo::cli
