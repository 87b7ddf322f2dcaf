// What every verb file of the zelvo client shares: the exit statuses, the
// usage error, and the table in which each verb leaves what it runs.
#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <string>

namespace CLI {
class App;
}

namespace zelvo::cli {

inline constexpr int kExitSuccess = 0;
// The instrument could not be reached, or a request to it failed.
inline constexpr int kExitInstrumentFailed = 1;
inline constexpr int kExitUsage = 2;

// A command line that parses but asks for something impossible; its text is
// one line for standard error.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A verb's work once the command line is read; returns the exit status.
using VerbRun = std::function<int()>;

// The subcommands added so far and what each runs.
class VerbTable {
  public:
    // Adds a subcommand with its own --help to the parser.
    CLI::App& add(CLI::App& parser, const std::string& name, const std::string& description,
                  VerbRun run);
    // What the parsed subcommand runs, or nothing when none was named.
    VerbRun chosen(const CLI::App& parser) const;
    VerbRun named(const std::string& name) const;
    // "a, b and c": every verb's name in order.
    std::string namesText() const;

  private:
    std::map<std::string, VerbRun> runs_;
};

}  // namespace zelvo::cli
