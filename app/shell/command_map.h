// Commands travel from menus and tool bars to the first object of the route
// (view, document, child frame, main frame, application) that handles them.
// A command no object handles is disabled.
#pragma once

#include <functional>
#include <unordered_map>

namespace oscilane {

struct CommandState {
    bool enabled = true;
    bool checked = false;
};

class CommandMap {
  public:
    using Run = std::function<void()>;
    using Update = std::function<CommandState()>;

    // Handles id by run; update, when given, tells whether it is enabled and checked.
    void on(int id, Run run, Update update = {}) {
        entries_[id] = Entry{std::move(run), std::move(update)};
    }
    bool handles(int id) const { return entries_.count(id) != 0; }
    CommandState state(int id) const {
        const Entry& e = entries_.at(id);
        return e.update ? e.update() : CommandState{};
    }
    void run(int id) const { entries_.at(id).run(); }

  private:
    struct Entry {
        Run run;
        Update update;
    };
    std::unordered_map<int, Entry> entries_;
};

// Anything on the command route.
class CommandTarget {
  public:
    virtual ~CommandTarget() = default;
    CommandMap& commands() { return commands_; }
    const CommandMap& commands() const { return commands_; }

  private:
    CommandMap commands_;
};

}  // namespace oscilane
