#include "scope/scope_save.h"

#include "model/waveform.h"
#include "scope/scope_command_ids.h"
#include "scope/scope_data.h"
#include "scope/scope_file_texts.h"
#include "scope/scope_link_state.h"
#include "shell/command_map.h"
#include "shell/message_service.h"
#include "shell/message_texts.h"
#include "shell/recent_files.h"
#include "shell/save_texts.h"

namespace oscilane {
namespace {

namespace text = scopefiletext;

constexpr qsizetype kReasonLimit = 1024;
const char* const kChannelNames[] = {"CH1", "CH2", "MATH"};

QString latin(const char* s) { return QString::fromLatin1(s); }

bool reportSaved(const WaveformSaveResult& r, const QString& path, const QString& offText) {
    if (r.ok()) {
        noteRecentFile(path);
        return true;
    }
    if (r.outcome == WaveformSaveOutcome::ChannelOff) {
        showMessage(offText, MessageKind::Warning);
    } else {
        showMessage(
            latin(msg::kCannotSaveFile).arg(QString::fromStdString(r.reason).left(kReasonLimit)),
            MessageKind::Error);
    }
    return false;
}

}  // namespace

QStringList scopeSaveChannels() {
    QStringList names;
    for (const char* name : kChannelNames) names << latin(name);
    names << latin(text::kAllChannels);
    return names;
}

SaveFileQuestion allChannelsFileQuestion() {
    SaveFileQuestion q = dataFileQuestion();
    q.filters = QStringList{latin(savetext::kCsvFilter)};
    q.defaultSuffix = latin(text::kAllChannelsSuffix);
    return q;
}

WaveformFileFormat dataFormatFor(const ChosenFile& file) {
    return writesCsv(file) ? WaveformFileFormat::Csv : WaveformFileFormat::Data;
}

bool saveTraceFile(const SettingBlock& block, int channel, const ChosenFile& chosen) {
    const ChosenFile file = resolveChosenFile(chosen, dataFileQuestion().filters);
    const Waveform wave(block, channel);
    return reportSaved(SaveWaveformFile(wave, dataFormatFor(file), file.path.toStdString()),
                       file.path, latin(text::kChannelOffNoCsv).arg(latin(kChannelNames[channel])));
}

bool saveAllChannelsFile(const SettingBlock& block, const ChosenFile& chosen) {
    const ChosenFile file = resolveChosenFile(chosen, allChannelsFileQuestion().filters);
    return reportSaved(SaveAllChannelsCsv(block, file.path.toStdString()), file.path,
                       latin(text::kNoChannelOn));
}

ScopeSaver* installScopeSave(QWidget* view, CommandMap& commands, const ScopeData& data,
                             const ScopeLinkState& state) {
    auto* saver = new WindowSaver(view, scopeSaveChannels());
    saver->saveData = [saver, &data](const SaveChoice& choice) {
        if (choice.channel == kSaveAllRow) {
            if (const auto file = saver->chooseFile(allChannelsFileQuestion()))
                saveAllChannelsFile(data.displayedBlock, *file);
            return;
        }
        const int channel = std::clamp(choice.channel, 0, 2);
        if (const auto file = saver->chooseFile(dataFileQuestion()))
            saveTraceFile(data.displayedBlock, channel, *file);
    };
    commands.on(
        cmd::kScopeSave, [saver] { saver->run(); },
        [&state] { return CommandState{state.connected()}; });
    return saver;
}

}  // namespace oscilane
