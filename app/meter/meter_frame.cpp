#include "meter/meter_frame.h"

#include <QMainWindow>
#include <QToolBar>

#include "meter/meter_command_ids.h"
#include "meter/meter_texts.h"
#include "meter/meter_view.h"
#include "shell/command_ids.h"
#include "shell/document.h"
#include "shell/side_bar.h"

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
    QToolBar* bar = addCommandToolBar(QStringLiteral("Meter"), kToolBar);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    dockControls(*controllerBar_, view->controller());
    addDockToggle(cmd::kMeterSideBarToggle, *controllerBar_);

    startActionUpdates();
}

ChildFrame* createMeterFrame(Document& document, QWidget* view) {
    return new MeterFrame(document, static_cast<MeterView*>(view));
}

}  // namespace oscilane
