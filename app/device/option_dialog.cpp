#include "device/option_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTableWidget>
#include <algorithm>

#include "device/device_link.h"
#include "device/device_messages.h"
#include "device/device_probe.h"
#include "device/device_tables.h"
#include "shell/message_service.h"

namespace oscilane {
namespace {

constexpr const char* kIntervalTexts[] = {"Fastest", "500 mS", "1.00 S", "2.00 S",
                                          "5.00 S",  "10.0 S", "20.0 S"};
constexpr int kColumnWidths[] = {25, 80, 100, 120};
constexpr const char* kColumnTitles[] = {"ID", "Device Name", "Device SN", "Status"};
// A dotted IPv4 address, or the start of one while it is typed.
constexpr const char* kAddressPattern =
    "^((25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])\\.){3}"
    "(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])$";

void say(const char* text) { showMessage(QString::fromUtf8(text)); }

QTableWidgetItem* centred(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

}  // namespace

OptionDialog::OptionDialog(const CDeviceLink& link, QWidget* parent)
    : QDialog(parent),
      original_(link.settings()),
      settings_(original_),
      connected_(link.isConnected()),
      scopeWindow_(link.function() == DeviceFunction::Scope) {
    setWindowTitle(QStringLiteral("Option"));
    buildControls();

    QRadioButton* chosen = settings_.transport == Transport::Serial ? serialRadio_
                           : settings_.transport == Transport::Lan  ? lanRadio_
                           : settings_.transport == Transport::Usb  ? usbRadio_
                                                                    : nullptr;
    if (chosen) chosen->setChecked(true);
    intervals_->setCurrentIndex(
        settings_.intervalIndex < std::size(kIntervalTexts) ? settings_.intervalIndex : 0);
    const bool automatic = settings_.updateMode == kUpdateAutomatic;
    (automatic ? autoRadio_ : singleRadio_)->setChecked(true);
    intervals_->setEnabled(automatic);
    showTransport(settings_.transport);

    if (!scopeWindow_) {
        autoRadio_->setEnabled(false);
        singleRadio_->setEnabled(false);
        intervals_->setEnabled(false);
    }
    if (connected_) {
        for (QRadioButton* r : {usbRadio_, serialRadio_, lanRadio_}) r->setEnabled(false);
        listLabel_->setEnabled(false);
        usbList_->setEnabled(false);
    }
}

void OptionDialog::buildControls() {
    auto* communication = new QGroupBox(QStringLiteral("Communication"));
    auto* grid = new QGridLayout(communication);
    // A radio button only takes clicks on its mark and text: each keeps its
    // own width rather than its column's.
    usbRadio_ = new QRadioButton(QStringLiteral("USB"));
    serialRadio_ = new QRadioButton(QStringLiteral("RS232"));
    lanRadio_ = new QRadioButton(QStringLiteral("LAN"));
    transports_ = new QButtonGroup(this);
    transports_->addButton(usbRadio_, static_cast<int>(Transport::Usb));
    transports_->addButton(serialRadio_, static_cast<int>(Transport::Serial));
    transports_->addButton(lanRadio_, static_cast<int>(Transport::Lan));
    grid->addWidget(usbRadio_, 0, 0, Qt::AlignLeft);
    grid->addWidget(serialRadio_, 0, 1, Qt::AlignLeft);
    grid->addWidget(lanRadio_, 0, 2, Qt::AlignLeft);

    listLabel_ = new QLabel(QStringLiteral("Device List :"));
    usbList_ = new QTableWidget(0, 4);
    for (int c = 0; c < 4; ++c) {
        usbList_->setHorizontalHeaderItem(c, centred(QString::fromLatin1(kColumnTitles[c])));
        usbList_->setColumnWidth(c, kColumnWidths[c]);
    }
    // Every title reads in full, and the list is as wide as its columns: no
    // clipped header and no sideways scrolling in an empty list.
    QHeaderView* header = usbList_->horizontalHeader();
    int listWidth = 0;
    for (int c = 0; c < 4; ++c) {
        const int fit = std::max(kColumnWidths[c], header->sectionSizeHint(c));
        usbList_->setColumnWidth(c, fit);
        listWidth += fit;
    }
    usbList_->setMinimumWidth(listWidth + 2 * usbList_->frameWidth() +
                              usbList_->verticalScrollBar()->sizeHint().width());
    usbList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    usbList_->verticalHeader()->hide();
    usbList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    usbList_->setSelectionMode(QAbstractItemView::SingleSelection);
    usbList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    usbList_->setShowGrid(true);
    grid->addWidget(listLabel_, 1, 0, 1, 3);
    grid->addWidget(usbList_, 2, 0, 1, 3);

    portLabel_ = new QLabel(QStringLiteral("COM"));
    ports_ = new QComboBox;
    baudLabel_ = new QLabel(QStringLiteral("Baud Rate"));
    bauds_ = new QComboBox;
    for (int rate : kBaudRates) bauds_->addItem(QString::number(rate));
    addressLabel_ = new QLabel(QStringLiteral("IP Address"));
    address_ = new QLineEdit;
    address_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QString::fromLatin1(kAddressPattern)), address_));
    grid->addWidget(portLabel_, 3, 0);
    grid->addWidget(ports_, 3, 1, 1, 2);
    grid->addWidget(baudLabel_, 4, 0);
    grid->addWidget(bauds_, 4, 1, 1, 2);
    grid->addWidget(addressLabel_, 5, 0);
    grid->addWidget(address_, 5, 1, 1, 2);
    lanInUse_ = new QLabel;
    lanInUse_->setObjectName(QStringLiteral("lanInUse"));
    grid->addWidget(lanInUse_, 6, 0, 1, 3);

    auto* update = new QGroupBox(QStringLiteral("Socpe Data Update"));
    auto* updateGrid = new QGridLayout(update);
    autoRadio_ = new QRadioButton(QStringLiteral("Auto"));
    singleRadio_ = new QRadioButton(QStringLiteral("Single"));
    intervals_ = new QComboBox;
    for (const char* text : kIntervalTexts) intervals_->addItem(QString::fromLatin1(text));
    updateGrid->addWidget(autoRadio_, 0, 0, Qt::AlignLeft);
    updateGrid->addWidget(singleRadio_, 0, 1, Qt::AlignLeft);
    updateGrid->addWidget(new QLabel(QStringLiteral("Time Interval")), 1, 0);
    updateGrid->addWidget(intervals_, 1, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(communication);
    layout->addWidget(update);
    // Room the dialog is given beyond what its pages need stays below them,
    // not spread between their rows.
    layout->addStretch(1);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &OptionDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(transports_, &QButtonGroup::idClicked, this,
            [this](int id) { showTransport(static_cast<Transport>(id)); });
    connect(autoRadio_, &QRadioButton::toggled, intervals_, &QWidget::setEnabled);
    connect(usbList_, &QTableWidget::cellDoubleClicked, this, &OptionDialog::accept);
}

void OptionDialog::showTransport(Transport t) {
    listLabel_->setVisible(t == Transport::Usb);
    usbList_->setVisible(t == Transport::Usb);
    for (QWidget* w : std::initializer_list<QWidget*>{portLabel_, ports_, baudLabel_, bauds_})
        w->setVisible(t == Transport::Serial);
    addressLabel_->setVisible(t == Transport::Lan);
    address_->setVisible(t == Transport::Lan);
    lanInUse_->setText(lanInUseText());
    lanInUse_->setVisible(t == Transport::Lan && !lanInUse_->text().isEmpty());
    // A serial line is too slow for periodic uploads: it updates on request,
    // and "Auto" cannot be chosen while it is the transport.
    if (scopeWindow_) {
        autoRadio_->setEnabled(t != Transport::Serial);
        intervals_->setEnabled(t != Transport::Serial && autoRadio_->isChecked());
    }
    switch (t) {
        case Transport::Usb:
            fillUsbList();
            break;
        case Transport::Serial:
            fillPortList();
            singleRadio_->setChecked(true);
            settings_.updateMode = kUpdateSingle;
            break;
        case Transport::Lan:
            address_->setText(dottedAddress(settings_.lanAddress));
            break;
        default:
            break;
    }
    // Each transport shows other rows: a shown dialog takes the height they
    // need instead of keeping the tallest page's (a new one is sized when shown).
    if (isVisible()) {
        layout()->activate();
        resize(width(), sizeHint().height());
    }
}

void OptionDialog::fillUsbList() {
    rowSlots_.fill(kNoDevice);
    uint8_t present[16] = {};
    usbCount_ = KwGetUSBDeviceList(present);
    usbList_->setRowCount(0);
    DeviceTables& tables = DeviceTables::instance();
    for (uint32_t slot = 0; slot < kDeviceTableSize; ++slot) {
        if (present[slot] != 1) continue;
        QString name, serial, status;
        if (tables.isConnected(Transport::Usb, slot)) {
            const DeviceEntry entry = *tables.entry(Transport::Usb, slot);
            name = entry.name;
            serial = entry.serialNumber;
            status = QString::fromLatin1(msg::kDeviceConnectedStatus);
        } else {
            tables.setPresent(slot, true);
            // A record of its own: the window's choice stays until OK picks a row.
            DeviceInfo info{};
            readDeviceInfo(slot, &info);
            name = deviceName(info);
            serial = serialNumber(info);
            tables.describe(Transport::Usb, slot, name, serial);
        }
        const int row = usbList_->rowCount();
        usbList_->insertRow(row);
        usbList_->setItem(row, IdColumn, centred(QString::number(slot)));
        usbList_->setItem(row, NameColumn, centred(name));
        usbList_->setItem(row, SerialColumn, centred(serial));
        usbList_->setItem(row, StatusColumn, centred(status));
        rowSlots_[static_cast<std::size_t>(row)] = slot;
    }
}

void OptionDialog::fillPortList() {
    ports_->clear();
    uint8_t numbers[16] = {};
    const int count = std::clamp(KwGetCOMDeviceList(numbers), 0, 16);
    portNumbers_.assign(numbers, numbers + count);
    int chosen = 0;
    for (int i = 0; i < count; ++i) {
        ports_->addItem(QStringLiteral("COM%1").arg(numbers[i]));
        if (numbers[i] == settings_.serialPort) chosen = i;
    }
    if (count > 0) ports_->setCurrentIndex(chosen);
    bauds_->setCurrentIndex(settings_.baudIndex < kBaudRates.size() ? settings_.baudIndex : 0);
}

void OptionDialog::takeUpdateChoice() {
    const bool onRequest = singleRadio_->isChecked() || settings_.transport == Transport::Serial;
    settings_.updateMode = onRequest ? kUpdateSingle : kUpdateAutomatic;
    settings_.intervalIndex = static_cast<uint16_t>(std::max(0, intervals_->currentIndex()));
}

void OptionDialog::accept() {
    bool done = true;
    switch (static_cast<Transport>(transports_->checkedId())) {
        case Transport::Usb:
            done = acceptUsb();
            break;
        case Transport::Serial:
            done = acceptSerial();
            break;
        case Transport::Lan:
            done = acceptLan();
            break;
        default:
            break;
    }
    if (done) QDialog::accept();
}

bool OptionDialog::acceptUsb() {
    if (usbCount_ == 0) {
        settings_ = original_;
        return true;
    }
    if (!connected_) {
        const QList<QTableWidgetSelectionRange> ranges = usbList_->selectedRanges();
        const int row = ranges.isEmpty() ? -1 : ranges.first().topRow();
        if (row < 0 || row >= static_cast<int>(rowSlots_.size()) ||
            rowSlots_[static_cast<std::size_t>(row)] == kNoDevice) {
            say(msg::kNoDeviceSelected);
            return false;
        }
        const uint32_t slot = rowSlots_[static_cast<std::size_t>(row)];
        if (DeviceTables::instance().isConnected(Transport::Usb, slot)) {
            say(msg::kDeviceAlreadyConnected);
            return false;
        }
        LinkSettings chosen = settings_;
        chosen.transport = Transport::Usb;
        chosen.deviceIndex = slot;
        if (!openLink(chosen)) {
            say(msg::kCannotConnect);
            return false;
        }
        readDeviceInfo(slot, &chosen.deviceInfo);
        settings_ = chosen;
    }
    takeUpdateChoice();
    return true;
}

bool OptionDialog::acceptSerial() {
    if (connected_) {
        say(msg::kDeviceAlreadyConnected);
        return false;
    }
    const int position = ports_->currentIndex();
    if (position < 0 || portNumbers_.empty()) {
        // No port to choose from: nothing to change.
        settings_ = original_;
        return true;
    }
    settings_.transport = Transport::Serial;
    settings_.deviceIndex = static_cast<uint32_t>(position);
    settings_.serialPort = portNumbers_[static_cast<std::size_t>(position)];
    settings_.baudIndex = static_cast<uint16_t>(std::max(0, bauds_->currentIndex()));
    return testDevice();
}

bool OptionDialog::acceptLan() {
    if (connected_) {
        say(msg::kDeviceAlreadyConnected);
        return false;
    }
    uint32_t address = 0;
    if (!parseDottedAddress(address_->text(), &address)) {
        say(msg::kCannotConnect);
        return false;
    }
    settings_.transport = Transport::Lan;
    settings_.deviceIndex = 0;
    settings_.lanAddress = address;
    return testDevice();
}

QString OptionDialog::lanInUseText() {
    QStringList lines;
    for (const DeviceEntry& e : DeviceTables::instance().connectedLanEntries()) {
        QString line = dottedAddress(e.lanAddress);
        if (!e.serialNumber.isEmpty()) line += QStringLiteral("  (SN: %1)").arg(e.serialNumber);
        lines << line;
    }
    if (lines.isEmpty()) return {};
    return QStringLiteral("Connected in other windows:\n") + lines.join(QLatin1Char('\n'));
}

bool OptionDialog::testDevice() {
    if (!oscilane::testDevice(settings_)) return false;
    takeUpdateChoice();
    return true;
}

}  // namespace oscilane
