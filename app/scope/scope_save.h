// The scope window's Save command: data of one trace of the displayed block,
// or a picture of the window as every instrument window takes it.
#pragma once

#include <QString>
#include <QStringList>

#include "model/waveform_file.h"
#include "shell/window_save.h"

namespace oscilane {

class CommandMap;
class ScopeLinkState;
struct ScopeData;

// The channels the scope's "Save" dialog lists: CH1, CH2, MATH, then "All"
// at kSaveAllRow.
QStringList scopeSaveChannels();
inline constexpr int kSaveAllRow = 3;

// The save-file question of "All": the data file holds one trace, so every
// channel goes to the all-channel CSV, the only type offered.
SaveFileQuestion allChannelsFileQuestion();

// The data file's format for a chosen file (see writesCsv).
WaveformFileFormat dataFormatFor(const ChosenFile& file);

// Writes one trace of the block to the chosen file (a bare name gets the
// filter's extension); a failure is shown as "Cann't save file: ..."
// (or says that an off channel has no CSV) and returns false.
bool saveTraceFile(const SettingBlock& block, int channel, const ChosenFile& file);
// Writes every trace of the block to the chosen file as the all-channel CSV,
// whatever its name; a failure is shown and returns false.
bool saveAllChannelsFile(const SettingBlock& block, const ChosenFile& file);

// The scope window's Save command: "Data" writes the chosen channel (or all
// of them) of the displayed block.
using ScopeSaver = WindowSaver;

// Puts the Save command (32790) into a scope view's commands, enabled only
// while connected.
ScopeSaver* installScopeSave(QWidget* view, CommandMap& commands, const ScopeData& data,
                             const ScopeLinkState& state);

}  // namespace oscilane
