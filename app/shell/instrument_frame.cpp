#include "shell/instrument_frame.h"

#include <QAction>
#include <QMainWindow>
#include <QScrollArea>
#include <QToolBar>

#include "shell/document.h"
#include "shell/side_bar.h"

namespace oscilane {
namespace {

constexpr int kActionUpdateMs = 250;

}  // namespace

InstrumentFrame::InstrumentFrame(Document& document, QWidget* view,
                                 const CommandTarget& viewCommands)
    : ChildFrame(document, view), viewCommands_(viewCommands) {}

QAction* InstrumentFrame::commandAction(int id, const QString& text, QObject* parent,
                                        const QIcon& icon) {
    auto* a = new QAction(icon, text, parent);
    a->setData(id);
    connect(a, &QAction::triggered, this, [this, id] {
        if (const CommandTarget* target = handlerOf(id)) target->commands().run(id);
        updateActions();
    });
    actions_.append(a);
    return a;
}

QToolBar* InstrumentFrame::addCommandToolBar(const QString& title,
                                             std::span<const ToolBarButton> buttons) {
    QToolBar* bar = body()->addToolBar(title);
    addToolBarButtons(*bar, buttons, [this, bar](int id, const QString& text) {
        return commandAction(id, text, bar);
    });
    return bar;
}

void InstrumentFrame::dockControls(SideBar& bar, QWidget* controls) {
    if (controls) {
        // The controls scroll in their bar when the window is shorter than
        // they are, rather than squeezing over each other.
        auto* scroller = new QScrollArea(bar.surface());
        scroller->setFrameShape(QFrame::NoFrame);
        scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroller->setWidgetResizable(true);
        scroller->setWidget(controls);
        controls->show();
        // The bar opens at the width the controls need, so no label is cut.
        bar.setBarWidth(controls->minimumSizeHint().width() + 2 * SideBar::kBorder);
    }
    body()->addDockWidget(Qt::LeftDockWidgetArea, &bar);
}

void InstrumentFrame::addDockToggle(int id, QDockWidget& dock) {
    commands().on(
        id, [&dock] { dock.setVisible(dock.isHidden()); },
        [&dock] {
            return CommandState{true, !dock.isHidden()};
        });
}

void InstrumentFrame::startActionUpdates() {
    actionTimer_.setInterval(kActionUpdateMs);
    connect(&actionTimer_, &QTimer::timeout, this, &InstrumentFrame::updateActions);
    actionTimer_.start();
    updateActions();
}

const CommandTarget* InstrumentFrame::handlerOf(int id) const {
    for (const CommandTarget* t : {&viewCommands_, static_cast<const CommandTarget*>(&document()),
                                   static_cast<const CommandTarget*>(this)})
        if (t->commands().handles(id)) return t;
    return nullptr;
}

QAction* InstrumentFrame::action(int id) const {
    for (QAction* a : actions_)
        if (a->data().toInt() == id) return a;
    return nullptr;
}

void InstrumentFrame::updateActions() {
    for (QAction* a : actions_) {
        const int id = a->data().toInt();
        const CommandTarget* target = handlerOf(id);
        const CommandState state = target ? target->commands().state(id) : CommandState{false};
        a->setEnabled(state.enabled);
        a->setCheckable(state.checked);
        a->setChecked(state.checked);
    }
}

}  // namespace oscilane
