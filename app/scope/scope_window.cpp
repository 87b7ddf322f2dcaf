#include "scope/scope_window.h"

#include <QObject>

#include "device/instrument_window.h"
#include "scope/scope_command_ids.h"
#include "scope/scope_frame.h"
#include "scope/scope_history_save.h"
#include "scope/scope_overlays.h"
#include "scope/scope_panel.h"
#include "scope/scope_report.h"
#include "scope/scope_save.h"
#include "scope/scope_session.h"
#include "scope/scope_setup_files.h"
#include "scope/scope_tools.h"
#include "scope/scope_view.h"
#include "shell/recent_files.h"

namespace oscilane {
namespace {

// The scope's view of the connection's and the session's upload flags.  The
// session hands out its new-data flag only by taking it; the adapter keeps it until the view has
// copied the block, so an upload met by a busy event is not lost.
class DeviceLinkState final : public QObject, public ScopeLinkState {
  public:
    DeviceLinkState(CDeviceLink& link, UploadWatch& uploads) : link_(link), uploads_(uploads) {}

    bool connected() const override { return link_.isConnected(); }
    bool deviceRemoved() const override { return link_.linkLost(); }
    bool slowUpload() const override { return uploads_.slow(); }
    int uploadPercent() const override { return UploadWatch::percent(link_); }
    void watchSlowUpload() override { uploads_.watch(link_); }
    bool newData() const override {
        pending_ = uploads_.takeNewData() || pending_;
        return pending_;
    }
    void clearNewData() override { pending_ = false; }

  private:
    CDeviceLink& link_;
    UploadWatch& uploads_;
    mutable bool pending_ = false;
};

}  // namespace

QWidget* createScopeView(Document& document) {
    CDeviceLink& link = deviceLinkOf(document);
    ScopeSession& session = link.adoptSession(std::make_unique<ScopeSession>());
    auto* state = new DeviceLinkState(link, session.uploads());
    auto* view = new ScopeView(document, ScopeLink{link, session.data(), link.event(), *state});
    state->setParent(view);
    installScopeTools(*view, ScopeLink{link, session.data(), link.event(), *state});
    auto* window = new InstrumentWindow(*view, view->commands(), document);
    window->setOnConnected([view] {
        if (view->panel()) view->panel()->refresh();
    });
    installScopeSave(view, view->commands(), session.data(), *state);
    installScopeReport(view, view->commands(), session.data());
    installScopeSetupFiles(view, view->commands(), session, *state)->fileUsed = noteRecentFile;
    installHistorySave(view, view->commands(), view->history(), session.data());
    installScopeOverlays(view, view->commands(), view->screen(), view->measurements());
    view->commands().on(
        cmd::kScopeUpdateData, [&session] { session.uploads().request(); },
        [&link, &session] {
            return CommandState{link.isConnected() && link.settings().updateMode == kUpdateSingle &&
                                !session.uploads().requested()};
        });
    return view;
}

ChildFrame* createScopeFrame(Document& document, QWidget* view) {
    return new ScopeFrame(document, static_cast<ScopeView*>(view));
}

}  // namespace oscilane
