#include "verbs.h"

#include <CLI/CLI.hpp>

namespace zelvo::cli {

CLI::App& VerbTable::add(CLI::App& parser, const std::string& name, const std::string& description,
                         VerbRun run) {
    runs_[name] = std::move(run);
    return *parser.add_subcommand(name, description);
}

VerbRun VerbTable::chosen(const CLI::App& parser) const {
    for (const CLI::App* verb : parser.get_subcommands()) {
        const auto found = runs_.find(verb->get_name());
        if (found != runs_.end()) return found->second;
    }
    return {};
}

VerbRun VerbTable::named(const std::string& name) const {
    const auto found = runs_.find(name);
    return found == runs_.end() ? VerbRun{} : found->second;
}

std::string VerbTable::namesText() const {
    std::string text;
    std::size_t left = runs_.size();
    for (const auto& [name, run] : runs_) {
        text += name;
        --left;
        if (left > 1) text += ", ";
        if (left == 1) text += " and ";
    }
    return text;
}

}  // namespace zelvo::cli
