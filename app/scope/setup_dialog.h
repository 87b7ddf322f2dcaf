// The scope's "Setup" dialog: tabs CH1, CH2, MATH, REF and Trigger over four
// pages (CH1 and CH2 share the channel page).  A control posts one command
// and changes nothing itself; every 50 ms each page re-reads the displayed
// block and touches a control only when its setting differs from the value
// it last showed, so a user's click is not fought by a stale refresh.
#pragma once

#include <QDialog>
#include <QTimer>

#include "device/command_sink.h"
#include "scope/scope_data.h"

class QTabBar;

namespace oscilane {

class SetupPage;
class ChannelSetupPage;

class SetupDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kRefreshMs = 50;
    enum Tab { kTabCh1, kTabCh2, kTabMath, kTabRef, kTabTrigger, kTabCount };

    SetupDialog(const ScopeData& scopeData, CommandSink& commands, QWidget* parent = nullptr);

    QTabBar* tabs() const { return tabs_; }
    // The page a tab shows.
    SetupPage* page(int tab) const;
    // One refresh of every page, as the timer does.
    void refresh();

  private:
    void showTab(int tab);

    const ScopeData& data_;
    QTabBar* tabs_;
    ChannelSetupPage* channelPage_;
    SetupPage* mathPage_;
    SetupPage* refPage_;
    SetupPage* triggerPage_;
    QTimer timer_;
};

// A page of the dialog.
class SetupPage : public QWidget {
    Q_OBJECT
  public:
    using QWidget::QWidget;
    virtual void refresh(const SettingBlock& block) = 0;
    // Forgets what the controls show, so the next refresh sets every one.
    virtual void forget() = 0;
};

}  // namespace oscilane
