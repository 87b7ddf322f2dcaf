// The --channel option of the verbs that read one trace: CH1, CH2 or MATH
// (or all of them), in any case; a wrong name is answered with the names there are.
#pragma once

#include <optional>
#include <string>

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace zelvo::cli {

// What --channel takes besides CH1, CH2 and MATH: "all" (kAllChannels) for
// a verb that can save every trace at once.
enum class ChannelChoice { OneTrace, OneTraceOrAll };
inline constexpr int kAllChannels = -1;

// Adds --channel to a verb; the chosen trace's number goes to channel,
// which holds the default (CH1) until then.
CLI::Option* addChannelOption(CLI::App& verb, int& channel, const std::string& description,
                              ChannelChoice choice = ChannelChoice::OneTrace);

// The trace a name (any case) stands for, or none.
std::optional<int> channelNamed(std::string name, ChannelChoice choice = ChannelChoice::OneTrace);
// Why a name given for a trace is refused, naming the channels there are.
std::string unknownChannelText(const std::string& name,
                               ChannelChoice choice = ChannelChoice::OneTrace);

// "CH1", "CH2", "MATH" or "all" for a number the option gives.
const char* channelName(int channel);

}  // namespace zelvo::cli
