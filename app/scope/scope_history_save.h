// The scope window's "Save History..." command: a CSV of every block the
// history keeps, or the chosen block's trace as a data file (the newest
// block's while the window is live).
#pragma once

#include <QObject>
#include <functional>
#include <optional>

#include "shell/window_save.h"

namespace oscilane {

class CommandMap;
class ScopeHistory;
struct ScopeData;

class HistorySaver : public QObject {
    Q_OBJECT
  public:
    // Asks which trace a data file holds: 0 CH1, 1 CH2, 2 MATH; none when cancelled.
    using AskChannel = std::function<std::optional<int>(QWidget* parent)>;

    HistorySaver(QWidget* view, const ScopeHistory& history, const ScopeData& data);

    // The save-file question: the CSV filter first, then the data files'.
    static SaveFileQuestion question();

    // Asks for the file (and for a data file the trace) and writes it; a
    // failure is shown as "Cann't save file: ...".
    void run();

    WindowSaver::AskFile askFile;
    AskChannel askChannel;

  private:
    QWidget* view_;
    const ScopeHistory& history_;
    const ScopeData& data_;
};

// Puts "Save History..." into a scope view's commands, enabled once the
// history holds a block.
HistorySaver* installHistorySave(QWidget* view, CommandMap& commands, const ScopeHistory& history,
                                 const ScopeData& data);

}  // namespace oscilane
