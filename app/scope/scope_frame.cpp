#include "scope/scope_frame.h"

#include <QAction>
#include <QDockWidget>
#include <QMainWindow>
#include <QToolBar>
#include <algorithm>

#include "model/scope_texts.h"
#include "scope/measure_dock.h"
#include "scope/scope_command_ids.h"
#include "scope/scope_panel.h"
#include "scope/scope_view.h"
#include "shell/command_ids.h"
#include "shell/document.h"
#include "shell/side_bar.h"

namespace oscilane {
namespace {

constexpr ToolBarButton kToolBar[] = {
    {cmd::kScopeSave, "Save Waveform", ":/icons/scope_save.png"},
    {cmd::kPrint, "Print", ":/icons/scope_print.png"},
    {cmd::kScopePanelToggle, "Panel", ":/icons/scope_panel.png"},
    {0, nullptr, nullptr},
    {cmd::kScopeSetups, "Scope Setups", ":/icons/scope_setups.png"},
    {cmd::kScopeUpdateData, "Update Data", ":/icons/scope_update.png"},
    {0, nullptr, nullptr},
    {cmd::kScopeCursor, "Cursor", ":/icons/scope_cursor.png"},
    {cmd::kScopeMeasure, "Measure", ":/icons/scope_measure.png"},
    {0, nullptr, nullptr},
    {cmd::kOption, "Option", ":/icons/scope_option.png"},
    {cmd::kConnect, "Connect", ":/icons/scope_connect.png"},
    {cmd::kDisconnect, "Disconnect", ":/icons/scope_disconnect.png"},
};

}  // namespace

ScopeFrame::ScopeFrame(Document& document, ScopeView* view)
    : InstrumentFrame(document, view, *view),
      view_(view),
      panelBar_(new SideBar(QString::fromLatin1(scopetext::kPanelCaption), body())) {
    setMinimumSize(kMinimumSize);

    toolBar_ = addCommandToolBar(QStringLiteral("Scope"), kToolBar);
    dockControls(*panelBar_, view->panel());
    addDockToggle(cmd::kScopePanelToggle, *panelBar_);

    measureDock_ = createMeasureDock(*body(), *view);
    addDockToggle(cmd::kScopeMeasure, *measureDock_);

    startActionUpdates();
}

QSize ScopeFrame::sizeHint() const {
    QSize hint = ChildFrame::sizeHint();
    // Tall enough that the panel shows whole beside the display: the bar
    // lays its contents out itself, so the frame's layout cannot see them.
    if (const ScopePanel* panel = view_->panel(); panel && !panelBar_->isHidden()) {
        const int around = hint.height() - body()->sizeHint().height();
        const int panelHeight = toolBar_->sizeHint().height() + SideBar::kCaptionHeight +
                                panel->minimumSizeHint().height() + SideBar::kBorder;
        hint.setHeight(std::max(hint.height(), around + panelHeight));
    }
    return hint;
}

}  // namespace oscilane
