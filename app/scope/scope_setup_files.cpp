#include "scope/scope_setup_files.h"

#include <QFile>
#include <QFileDialog>
#include <QStringList>

#include "model/scope_setup_file.h"
#include "scope/scope_command_ids.h"
#include "scope/scope_file_texts.h"
#include "scope/scope_link_state.h"
#include "scope/scope_session.h"
#include "scope/scope_view.h"
#include "shell/child_frame.h"
#include "shell/command_map.h"
#include "shell/main_frame.h"
#include "shell/message_service.h"
#include "shell/message_texts.h"
#include "shell/oscilane_app.h"
#include "shell/window_save.h"

namespace oscilane {
namespace {

namespace text = scopefiletext;

QString latin(const char* s) { return QString::fromLatin1(s); }
std::filesystem::path localPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

std::optional<QString> askOpenSetup(QWidget* parent) {
    QFileDialog dialog(parent, latin(text::kRecallSetupTitle), QString(),
                       latin(text::kSetupFilter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> askSaveSetup(QWidget* parent) {
    const QStringList filters{latin(text::kSetupFilter)};
    const auto chosen =
        askSaveFile(parent, {latin(text::kSaveSetupTitle), filters, latin(text::kSetupSuffix)});
    if (!chosen) return std::nullopt;
    return resolveChosenFile(*chosen, filters).path;
}

}  // namespace

ScopeSetupFiles::ScopeSetupFiles(QWidget* view, ScopeSession& session)
    : QObject(view),
      askSavePath(askSaveSetup),
      askOpenPath(askOpenSetup),
      view_(view),
      session_(session) {}

void ScopeSetupFiles::save() {
    const auto path = askSavePath(view_);
    if (!path) return;
    // The displayed block is the window thread's own copy of the last upload.
    const SetupValues values = ReadSetup(session_.data().displayedBlock);
    if (const auto failure = SaveSetupFile(values, localPath(*path))) {
        showMessage(latin(msg::kCannotSaveFile).arg(QString::fromStdString(*failure)),
                    MessageKind::Error);
        return;
    }
    if (fileUsed) fileUsed(*path);
}

void ScopeSetupFiles::recall() {
    if (const auto path = askOpenPath(view_)) recallFrom(*path);
}

void ScopeSetupFiles::recallFrom(const QString& path) {
    const SetupParse loaded = LoadSetupFile(localPath(path));
    if (!loaded.values) {
        showMessage(latin(msg::kCannotOpenFile).arg(QString::fromStdString(loaded.refusal.text())),
                    MessageKind::Error);
        return;
    }
    if (fileUsed) fileUsed(path);
    // The worker reports; its message is queued so the worker never waits on a box.
    session_.recallSetup(*loaded.values, [](const SetupRecallResult& result) {
        const QString report = recallReport(result);
        if (!report.isEmpty()) postMessage(report, MessageKind::Warning);
    });
}

QString ScopeSetupFiles::recallReport(const SetupRecallResult& result) {
    if (!result.uploaded) return latin(text::kSetupNotUploaded);
    if (result.missed.empty()) return {};
    QStringList lines;
    for (const SetupMiss& miss : result.missed) lines << QString::fromStdString(miss.text());
    return latin(text::kSetupNotTaken).arg(lines.join(QLatin1Char('\n')));
}

bool isSetupFile(const QString& path) {
    QFile file(path);
    const QByteArray header(kSetupFileHeader.data(),
                            static_cast<qsizetype>(kSetupFileHeader.size()));
    return file.open(QIODevice::ReadOnly) && file.read(header.size()) == header;
}

bool recallSetupInActiveWindow(OscilaneApp& app, const QString& path) {
    ChildFrame* active = app.mainFrame() ? app.mainFrame()->activeChildFrame() : nullptr;
    auto* view = active ? qobject_cast<ScopeView*>(active->view()) : nullptr;
    auto* files = view ? view->findChild<ScopeSetupFiles*>() : nullptr;
    if (!files || !view->commands().state(cmd::kScopeRecallSetup).enabled) {
        showMessage(latin(text::kRecallInScopeWindow).arg(path), MessageKind::Warning);
        return false;
    }
    files->recallFrom(path);
    return true;
}

ScopeSetupFiles* installScopeSetupFiles(QWidget* view, CommandMap& commands, ScopeSession& session,
                                        const ScopeLinkState& state) {
    auto* files = new ScopeSetupFiles(view, session);
    const auto connected = [&state] { return CommandState{state.connected()}; };
    commands.on(
        cmd::kScopeSaveSetup, [files] { files->save(); }, connected);
    commands.on(
        cmd::kScopeRecallSetup, [files] { files->recall(); }, connected);
    return files;
}

}  // namespace oscilane
