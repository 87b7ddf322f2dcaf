#include "scope/scope_tools.h"

#include <QKeySequence>
#include <QShortcut>

#include "model/scope_tool_texts.h"
#include "scope/cal_data_dialog.h"
#include "scope/cursor_dialog.h"
#include "scope/scope_command_ids.h"
#include "scope/scope_screen.h"
#include "scope/scope_view.h"
#include "scope/setup_dialog.h"
#include "shell/message_service.h"

namespace oscilane {
namespace {

// Modal to the window without a nested event loop; gone when closed.
void openDialog(QDialog* dialog) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

}  // namespace

void installScopeTools(ScopeView& view, ScopeLink link) {
    ScopeScreen& screen = view.screen();
    view.commands().on(cmd::kScopeCursor, [&view, &screen] {
        openDialog(new CursorDialog(
            screen.cursorChoice(), [&screen] { screen.changed(); }, &view));
    });
    // Enabled whenever the window exists; without an instrument it only says so.
    view.commands().on(cmd::kScopeSetups, [&view, link] {
        if (!link.state.connected()) {
            showMessage(QString::fromLatin1(tooltext::kCannotConnect));
            return;
        }
        openDialog(new SetupDialog(link.data, link.commands, &view));
    });
    view.commands().on(cmd::kScopeCalData,
                       [&view, link] { openDialog(new CalDataDialog(link, &view)); });
    auto* calData = new QShortcut(QKeySequence(QString::fromLatin1(kCalDataShortcut)), &view);
    calData->setContext(Qt::WidgetWithChildrenShortcut);
    QObject::connect(calData, &QShortcut::activated, &view,
                     [&view] { view.commands().run(cmd::kScopeCalData); });
}

}  // namespace oscilane
