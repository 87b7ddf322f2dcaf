#include "device/instrument_window.h"

#include <QObject>
#include <QWidget>

#include "device/device_probe.h"
#include "device/option_dialog.h"
#include "shell/command_ids.h"
#include "shell/command_map.h"
#include "shell/document.h"

namespace oscilane {
namespace {

// Owns a document's connection as a child object, so any document type can
// carry one and it goes when the document does.
class DeviceLinkHolder final : public QObject {
  public:
    explicit DeviceLinkHolder(QObject* document) : QObject(document) {
        setObjectName(QString::fromLatin1(kObjectName));
    }
    CDeviceLink link;
    static constexpr const char* kObjectName = "oscilane-device-link";
};

}  // namespace

CDeviceLink& deviceLinkOf(Document& document) {
    auto* holder = document.findChild<DeviceLinkHolder*>(
        QString::fromLatin1(DeviceLinkHolder::kObjectName), Qt::FindDirectChildrenOnly);
    if (!holder) holder = new DeviceLinkHolder(&document);
    return holder->link;
}

InstrumentWindow::InstrumentWindow(QWidget& view, CommandMap& commands, Document& document)
    : QObject(&view), view_(view), document_(document), link_(deviceLinkOf(document)) {
    link_.startWorker();
    commands.on(
        cmd::kConnect, [this] { connect(); },
        [this] {
            return CommandState{link_.settings().deviceIndex != kNoDevice && !link_.isConnected()};
        });
    commands.on(
        cmd::kDisconnect, [this] { disconnect(); },
        [this] {
            return CommandState{link_.settings().deviceIndex != kNoDevice && link_.isConnected()};
        });
    commands.on(cmd::kOption, [this] { openOptions(); });
}

InstrumentWindow::~InstrumentWindow() { link_.endWorker(); }

InstrumentWindow* InstrumentWindow::of(QWidget& view) {
    return view.findChild<InstrumentWindow*>(QString(), Qt::FindDirectChildrenOnly);
}

bool InstrumentWindow::connect() {
    if (link_.Connect() != 1) return false;
    document_.attachSerialNumber(serialNumber(link_.settings().deviceInfo));
    if (onConnected_) onConnected_();
    return true;
}

bool InstrumentWindow::disconnect() {
    if (link_.Disconnect() != 1) return false;
    document_.detachSerialNumber();
    return true;
}

void InstrumentWindow::openOptions() {
    OptionDialog dialog(link_, view_.window());
    if (dialog.exec() == QDialog::Accepted) link_.applySettings(dialog.settings());
}

bool InstrumentWindow::connectTo(LinkSettings settings) {
    if (link_.isConnected() || !testDevice(settings)) return false;
    link_.applySettings(settings);
    return connect();
}

}  // namespace oscilane
