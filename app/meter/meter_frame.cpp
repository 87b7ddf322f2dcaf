#include "meter/meter_frame.h"

#include <QAction>
#include <QMainWindow>
#include <QScrollArea>
#include <QToolBar>

#include "meter/meter_command_ids.h"
#include "meter/meter_texts.h"
#include "meter/meter_view.h"
#include "shell/command_ids.h"
#include "shell/document.h"
#include "shell/side_bar.h"
#include "shell/tool_bar_buttons.h"

namespace oscilane {
namespace {

constexpr ToolBarButton kToolBar[] = {
    {cmd::kMeterSave, "Save", ":/icons/scope_save.png"},
    {cmd::kMeterSideBarToggle, "Show/Hide side bar", ":/icons/scope_panel.png"},
    {0, nullptr, nullptr},
    {cmd::kMeterVoltage, "Voltage", ":/icons/meter_voltage.png"},
    {cmd::kMeterCurrent, "Current", ":/icons/meter_current.png"},
    {cmd::kMeterOhm, "OHM", ":/icons/meter_ohm.png"},
    {cmd::kMeterDiode, "Diode", ":/icons/meter_diode.png"},
    {cmd::kMeterContinuity, "Continuity", ":/icons/meter_continuity.png"},
    {cmd::kMeterCapacitance, "Capacitance", ":/icons/meter_capacitance.png"},
    {0, nullptr, nullptr},
    {cmd::kOption, "Option", ":/icons/scope_option.png"},
    {cmd::kConnect, "Connect", ":/icons/scope_connect.png"},
    {cmd::kDisconnect, "Disconnect", ":/icons/scope_disconnect.png"},
};

}  // namespace

MeterFrame::MeterFrame(Document& document, MeterView* view)
    : InstrumentFrame(document, view, *view),
      view_(view),
      controllerBar_(new SideBar(QString::fromLatin1(metertext::kControllerCaption), body())) {
    QToolBar* bar = body()->addToolBar(QStringLiteral("Meter"));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    addToolBarButtons(*bar, kToolBar, [this, bar](int id, const QString& text) {
        return commandAction(id, text, bar);
    });

    if (MeterController* controller = view->controller()) {
        auto* scroller = new QScrollArea(controllerBar_->surface());
        scroller->setFrameShape(QFrame::NoFrame);
        scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroller->setWidgetResizable(true);
        scroller->setWidget(controller);
        controller->show();
        controllerBar_->setBarWidth(controller->minimumSizeHint().width() + 2 * SideBar::kBorder);
    }
    body()->addDockWidget(Qt::LeftDockWidgetArea, controllerBar_);
    commands().on(
        cmd::kMeterSideBarToggle,
        [this] { controllerBar_->setVisible(controllerBar_->isHidden()); },
        [this] {
            return CommandState{true, !controllerBar_->isHidden()};
        });

    startActionUpdates();
}

ChildFrame* createMeterFrame(Document& document, QWidget* view) {
    return new MeterFrame(document, static_cast<MeterView*>(view));
}

}  // namespace oscilane
