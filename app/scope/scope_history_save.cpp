#include "scope/scope_history_save.h"

#include <QInputDialog>
#include <algorithm>

#include "model/scope_settings.h"
#include "model/waveform_file.h"
#include "scope/scope_command_ids.h"
#include "scope/scope_data.h"
#include "scope/scope_file_texts.h"
#include "scope/scope_history.h"
#include "scope/scope_save.h"
#include "shell/command_map.h"
#include "shell/message_service.h"
#include "shell/message_texts.h"
#include "shell/save_texts.h"

namespace oscilane {
namespace {

namespace text = scopefiletext;

QString latin(const char* s) { return QString::fromLatin1(s); }

// CH1, CH2 or MATH: a data file holds one trace.
std::optional<int> askChannelByList(QWidget* parent) {
    bool ok = false;
    QStringList channels;
    for (int c = kCh1; c <= kMath; ++c)
        channels << QString::fromUtf8(WaveformChannelName(c).data(),
                                      static_cast<qsizetype>(WaveformChannelName(c).size()));
    const QString chosen =
        QInputDialog::getItem(parent, latin(text::kHistoryChannelTitle),
                              latin(text::kHistoryChannelLabel), channels, 0, false, &ok);
    if (!ok) return std::nullopt;
    return static_cast<int>(channels.indexOf(chosen));
}

}  // namespace

HistorySaver::HistorySaver(QWidget* view, const ScopeHistory& history, const ScopeData& data)
    : QObject(view),
      askFile(askSaveFile),
      askChannel(askChannelByList),
      view_(view),
      history_(history),
      data_(data) {}

SaveFileQuestion HistorySaver::question() {
    SaveFileQuestion q = dataFileQuestion();
    q.title = latin(text::kSaveHistoryTitle);
    q.filters.removeAll(latin(savetext::kCsvFilter));
    q.filters.prepend(latin(savetext::kCsvFilter));
    q.defaultSuffix = latin(text::kHistoryCsvSuffix);
    return q;
}

void HistorySaver::run() {
    const SaveFileQuestion q = question();
    const std::optional<ChosenFile> answer = askFile(view_, q);
    if (!answer) return;
    const ChosenFile file = resolveChosenFile(*answer, q.filters);
    if (!writesCsv(file)) {
        if (const std::optional<int> channel = askChannel(view_); channel && *channel >= 0)
            saveTraceFile(data_.displayedBlock, std::min<int>(*channel, kMath), file);
        return;
    }
    if (const auto failed = SaveHistoryCsv(history_.blocks(), file.path.toStdString()))
        showMessage(
            latin(msg::kCannotSaveFile).arg(QString::fromStdString(failed->systemMessage())),
            MessageKind::Error);
}

HistorySaver* installHistorySave(QWidget* view, CommandMap& commands, const ScopeHistory& history,
                                 const ScopeData& data) {
    auto* saver = new HistorySaver(view, history, data);
    commands.on(
        cmd::kScopeSaveHistory, [saver] { saver->run(); },
        [&history] { return CommandState{!history.blocks().empty()}; });
    return saver;
}

}  // namespace oscilane
