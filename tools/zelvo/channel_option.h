// The --channel option of the verbs that read one trace: CH1, CH2 or MATH,
// in any case; a wrong name is answered with the names there are.
#pragma once

#include <optional>
#include <string>

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace zelvo::cli {

// Adds --channel to a verb; the chosen trace's number goes to channel,
// which holds the default (CH1) until then.
CLI::Option* addChannelOption(CLI::App& verb, int& channel, const std::string& description);

// The trace a name (any case) stands for, or none.
std::optional<int> channelNamed(std::string name);
// Why a name given for a trace is refused, naming the channels there are.
std::string unknownChannelText(const std::string& name);

// "CH1", "CH2" or "MATH" for a number the option gives.
const char* channelName(int channel);

}  // namespace zelvo::cli
