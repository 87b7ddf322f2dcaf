// The scope window's "Save Setup..." and "Recall Setup...": the instrument's
// settings of the displayed block written as a setup file, and a setup file
// put back through the session's recall.  A file that is refused, and the
// settings a recall could not set, are reported in one message box.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "model/scope_setup_recall.h"

class QWidget;

namespace oscilane {

class CommandMap;
class OscilaneApp;
class ScopeLinkState;
class ScopeSession;

class ScopeSetupFiles : public QObject {
    Q_OBJECT
  public:
    using AskPath = std::function<std::optional<QString>(QWidget* parent)>;

    ScopeSetupFiles(QWidget* view, ScopeSession& session);

    void save();
    void recall();
    // Recalls the setup file at path (what recall does once it has a path).
    void recallFrom(const QString& path);
    // The message of a finished recall; empty when every setting took.
    static QString recallReport(const SetupRecallResult& result);

    // The file dialogs, replaceable so tests answer them without a modal dialog.
    AskPath askSavePath;
    AskPath askOpenPath;
    // Told each file saved or recalled, for whoever keeps a list of them.
    std::function<void(const QString& path)> fileUsed;

  private:
    QWidget* view_;
    ScopeSession& session_;
};

// Whether the file starts as a setup file does.
bool isSetupFile(const QString& path);
// Recalls a setup file into the active scope window, as its "Recall
// Setup..." does; without a connected scope window active it says where the
// file can be recalled and sends nothing.
bool recallSetupInActiveWindow(OscilaneApp& app, const QString& path);

// Puts the two commands into a scope view's commands, enabled only while connected.
ScopeSetupFiles* installScopeSetupFiles(QWidget* view, CommandMap& commands, ScopeSession& session,
                                        const ScopeLinkState& state);

}  // namespace oscilane
