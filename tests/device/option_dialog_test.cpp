// The Option dialog driven on the offscreen platform, and the window commands
// that open it and connect: enabling rules, every refusal of OK, the device
// test over UDP and the title's serial number.
// The simulator's headers must come before any of Qt's.
// clang-format off
#include "device_link_fixture.h"  // first: see there
#include "serial_server.h"
#include "device/option_dialog.h"
// clang-format on

#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <cstdlib>
#include <filesystem>

#include "device/device_messages.h"
#include "device/device_tables.h"
#include "device/instrument_window.h"
#include "shell/command_ids.h"
#include "shell/document.h"
#include "shell/document_template.h"

namespace oscilane::testing {
namespace {

template <class T>
T* child(QWidget& dialog, const char* text) {
    for (T* w : dialog.findChildren<T*>())
        if (w->text() == QLatin1String(text)) return w;
    ADD_FAILURE() << "no control " << text;
    return nullptr;
}

class OptionDialogTest : public DeviceLinkTest {
  protected:
    // Shows the dialog of the link without a modal loop.
    std::unique_ptr<OptionDialog> open(const CDeviceLink& link) {
        auto dialog = std::make_unique<OptionDialog>(link);
        dialog->show();
        return dialog;
    }
    static void pressOk(OptionDialog& dialog) { dialog.accept(); }
    static bool accepted(const OptionDialog& dialog) {
        return !dialog.isVisible() && dialog.result() == QDialog::Accepted;
    }
    static QString msgText(const char* text) { return QString::fromUtf8(text); }
};

TEST_F(OptionDialogTest, UsbWithoutInstrumentsClosesAndChangesNothing) {
    CDeviceLink link;
    link.adoptSession(sessionFor(DeviceFunction::Scope));
    auto dialog = open(link);
    EXPECT_TRUE(child<QRadioButton>(*dialog, "USB")->isChecked());
    EXPECT_EQ(dialog->findChild<QTableWidget*>()->rowCount(), 0);
    child<QRadioButton>(*dialog, "Single")->setChecked(true);
    pressOk(*dialog);
    EXPECT_TRUE(accepted(*dialog));
    EXPECT_EQ(dialog->settings().deviceIndex, kNoDevice);
    EXPECT_EQ(dialog->settings().updateMode, kUpdateAutomatic);
    EXPECT_TRUE(messages_.texts().isEmpty());
}

TEST_F(OptionDialogTest, ShowsTheListColumnsAndIntervalTexts) {
    CDeviceLink link;
    link.adoptSession(sessionFor(DeviceFunction::Scope));
    auto dialog = open(link);
    auto* list = dialog->findChild<QTableWidget*>();
    QStringList titles;
    for (int c = 0; c < list->columnCount(); ++c) titles << list->horizontalHeaderItem(c)->text();
    EXPECT_EQ(titles, (QStringList{"ID", "Device Name", "Device SN", "Status"}));
    EXPECT_EQ(list->columnWidth(OptionDialog::StatusColumn), 120);
    QComboBox* intervals = nullptr;
    for (QComboBox* box : dialog->findChildren<QComboBox*>())
        if (box->count() == 7) intervals = box;
    ASSERT_NE(intervals, nullptr);
    EXPECT_EQ(intervals->itemText(0), QStringLiteral("Fastest"));
    EXPECT_EQ(intervals->itemText(6), QStringLiteral("20.0 S"));
    EXPECT_TRUE(intervals->isEnabled());
}

TEST_F(OptionDialogTest, EachPageFitsItsRowsWithEveryListTitleInFull) {
    CDeviceLink link;
    link.adoptSession(sessionFor(DeviceFunction::Scope));
    auto dialog = open(link);
    auto* list = dialog->findChild<QTableWidget*>();
    QHeaderView* header = list->horizontalHeader();
    for (int c = 0; c < list->columnCount(); ++c)
        EXPECT_GE(header->sectionSize(c), header->sectionSizeHint(c)) << c;
    EXPECT_LE(header->length(), list->viewport()->width());
    const int usbHeight = dialog->height();
    for (const char* page : {"RS232", "LAN"}) {
        child<QRadioButton>(*dialog, page)->click();
        // Without the list the page needs far less room, and takes no more.
        EXPECT_LT(dialog->height(), usbHeight - list->minimumSizeHint().height() / 2) << page;
        EXPECT_EQ(dialog->height(), dialog->sizeHint().height()) << page;
    }
    child<QRadioButton>(*dialog, "USB")->click();
    EXPECT_GE(dialog->height(), usbHeight);
}

TEST_F(OptionDialogTest, ChoosingRs232SwitchesToSingleAndAnEmptyPortListChangesNothing) {
    CDeviceLink link;
    link.adoptSession(sessionFor(DeviceFunction::Scope));
    auto dialog = open(link);
    QTest::mouseClick(child<QRadioButton>(*dialog, "RS232"), Qt::LeftButton);
    EXPECT_TRUE(child<QRadioButton>(*dialog, "Single")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(*dialog, "Auto")->isChecked());
    EXPECT_FALSE(child<QRadioButton>(*dialog, "Auto")->isEnabled());
    EXPECT_FALSE(dialog->findChild<QTableWidget*>()->isVisible());
    // Back on a transport that can upload periodically, "Auto" is a choice again.
    QTest::mouseClick(child<QRadioButton>(*dialog, "LAN"), Qt::LeftButton);
    EXPECT_TRUE(child<QRadioButton>(*dialog, "Auto")->isEnabled());
    QTest::mouseClick(child<QRadioButton>(*dialog, "RS232"), Qt::LeftButton);
    // The only named port does not exist, so the list is empty.
    pressOk(*dialog);
    EXPECT_TRUE(accepted(*dialog));
    EXPECT_EQ(dialog->settings().transport, Transport::Usb);
    EXPECT_EQ(dialog->settings().deviceIndex, kNoDevice);
}

TEST_F(OptionDialogTest, MeterAndGeneratorWindowsCannotChooseAnUpdateMode) {
    for (DeviceFunction f : {DeviceFunction::Meter, DeviceFunction::Generator}) {
        CDeviceLink link;
        link.adoptSession(sessionFor(f));
        auto dialog = open(link);
        EXPECT_FALSE(child<QRadioButton>(*dialog, "Auto")->isEnabled());
        EXPECT_FALSE(child<QRadioButton>(*dialog, "Single")->isEnabled());
        for (QComboBox* box : dialog->findChildren<QComboBox*>()) {
            if (box->count() == 7) {
                EXPECT_FALSE(box->isEnabled());
            }
        }
    }
}

TEST_F(OptionDialogTest, LanTestIdentifiesTheInstrumentAndClosesItsSlot) {
    CDeviceLink link;
    link.adoptSession(sessionFor(DeviceFunction::Scope));
    auto dialog = open(link);
    QTest::mouseClick(child<QRadioButton>(*dialog, "LAN"), Qt::LeftButton);
    auto* address = dialog->findChild<QLineEdit*>();
    EXPECT_EQ(address->text(), QStringLiteral("192.168.1.100"));  // shown, never contacted
    address->setText(QString::fromStdString(server_->address()));
    pressOk(*dialog);
    ASSERT_TRUE(accepted(*dialog)) << messages_.texts().join(" | ").toStdString();
    const LinkSettings& s = dialog->settings();
    EXPECT_EQ(s.transport, Transport::Lan);
    EXPECT_EQ(s.deviceIndex, 0u);
    EXPECT_EQ(serialNumber(s.deviceInfo), QStringLiteral("ZV20260001"));
    const DeviceEntry entry = *DeviceTables::instance().entry(Transport::Lan, 0);
    EXPECT_EQ(entry.serialNumber, QStringLiteral("ZV20260001"));
    EXPECT_EQ(entry.lanAddress, s.lanAddress);
    EXPECT_FALSE(entry.connected);
    EXPECT_NE(KwCheckComOK(ZELVO_HANDLE(ZELVO_LINK_LAN, 0)), 0);
}

TEST_F(OptionDialogTest, LanPageShowsTheAddressesOtherWindowsHold) {
    CDeviceLink link;
    link.adoptSession(sessionFor(DeviceFunction::Scope));
    auto dialog = open(link);
    QTest::mouseClick(child<QRadioButton>(*dialog, "LAN"), Qt::LeftButton);
    auto* inUse = dialog->findChild<QLabel*>(QStringLiteral("lanInUse"));
    ASSERT_NE(inUse, nullptr);
    EXPECT_TRUE(inUse->isHidden());  // nobody holds a LAN instrument

    DeviceTables& tables = DeviceTables::instance();
    const auto slot = tables.claimLanSlot(0x7F000105);
    ASSERT_TRUE(slot.slot);
    tables.describe(Transport::Lan, *slot.slot, QStringLiteral("Zelvo"),
                    QStringLiteral("ZV20260009"), 0x7F000105);
    auto again = open(link);
    QTest::mouseClick(child<QRadioButton>(*again, "LAN"), Qt::LeftButton);
    inUse = again->findChild<QLabel*>(QStringLiteral("lanInUse"));
    EXPECT_FALSE(inUse->isHidden());
    EXPECT_TRUE(inUse->text().contains(QStringLiteral("127.0.1.5  (SN: ZV20260009)")))
        << inUse->text().toStdString();
}

TEST_F(OptionDialogTest, LanRefusalsKeepTheDialogOpen) {
    struct Case {
        const char* what;
        const char* address;  // nullptr: the simulator's
        bool silent;
        const char* message;
    };
    for (const Case& c : {Case{"malformed address", "1.2.3", false, msg::kCannotConnect},
                          Case{"silent instrument", nullptr, true, msg::kCannotConnect}}) {
        messages_.clear();
        setFaults({.silent = c.silent});
        CDeviceLink link;
        link.adoptSession(sessionFor(DeviceFunction::Scope));
        auto dialog = open(link);
        QTest::mouseClick(child<QRadioButton>(*dialog, "LAN"), Qt::LeftButton);
        dialog->findChild<QLineEdit*>()->setText(c.address
                                                     ? QString::fromLatin1(c.address)
                                                     : QString::fromStdString(server_->address()));
        pressOk(*dialog);
        EXPECT_TRUE(dialog->isVisible()) << c.what;
        EXPECT_EQ(messages_.texts(), QStringList{msgText(c.message)}) << c.what;
    }
}

TEST_F(OptionDialogTest, AnotherWindowsLanLinkIsNeitherReopenedNorDisturbed) {
    auto first = makeLink(DeviceFunction::Scope, kUpdateAutomatic);
    ASSERT_EQ(first->Connect(), 1);
    CDeviceLink second;
    second.adoptSession(sessionFor(DeviceFunction::Scope));
    auto dialog = open(second);
    QTest::mouseClick(child<QRadioButton>(*dialog, "LAN"), Qt::LeftButton);
    dialog->findChild<QLineEdit*>()->setText(QString::fromStdString(server_->address()));
    pressOk(*dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(messages_.texts(), QStringList{msgText(msg::kDeviceAlreadyConnected)});
    const std::size_t before = uploads();
    EXPECT_TRUE(eventually([&] { return uploads() >= before + 2; }));
    EXPECT_FALSE(first->linkLost());
}

TEST_F(OptionDialogTest, AConnectedWindowKeepsItsLinkAndOnlyCancelCloses) {
    auto link = makeLink(DeviceFunction::Scope, kUpdateAutomatic);
    ASSERT_EQ(link->Connect(), 1);
    auto dialog = open(*link);
    for (const char* radio : {"USB", "RS232", "LAN"})
        EXPECT_FALSE(child<QRadioButton>(*dialog, radio)->isEnabled()) << radio;
    EXPECT_FALSE(dialog->findChild<QTableWidget*>()->isEnabled());
    EXPECT_TRUE(child<QRadioButton>(*dialog, "LAN")->isChecked());
    pressOk(*dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(messages_.texts(), QStringList{msgText(msg::kDeviceAlreadyConnected)});
    dialog->reject();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(link->linkLost());
}

// Port 2 of the library's port map is a link in the build folder (named in
// the environment before the library loads) that this test points at a
// simulated instrument's pseudo-terminal.  It runs as a CTest case of its own.
class OptionDialogSerialTest : public OptionDialogTest {
  protected:
    void SetUp() override {
        OptionDialogTest::SetUp();
        const char* port = std::getenv("ZELVO_COM2");
        ASSERT_NE(port, nullptr) << "ZELVO_COM2 must name the link to make";
        link_ = port;
        serial_ = std::make_unique<zelvo::sim::SerialServer>(instrument_);
        serial_->start();
        std::filesystem::remove(link_);
        std::filesystem::create_symlink(serial_->path(), link_);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove(link_, ignored);
        serial_.reset();
        OptionDialogTest::TearDown();
    }
    std::filesystem::path link_;
    std::unique_ptr<zelvo::sim::SerialServer> serial_;
};

TEST_F(OptionDialogSerialTest, OkWithRs232LeavesTheWindowUpdatingOnRequest) {
    auto link = std::make_unique<CDeviceLink>();
    link->adoptSession(sessionFor(DeviceFunction::Scope));
    link->applySettings(lanSettings(kUpdateAutomatic));
    auto dialog = open(*link);
    QTest::mouseClick(child<QRadioButton>(*dialog, "RS232"), Qt::LeftButton);
    auto* automatic = child<QRadioButton>(*dialog, "Auto");
    EXPECT_FALSE(automatic->isEnabled());
    QTest::mouseClick(automatic, Qt::LeftButton);
    EXPECT_TRUE(child<QRadioButton>(*dialog, "Single")->isChecked());
    // Whatever the radios show when OK is pressed, a serial line updates on request.
    automatic->setChecked(true);
    pressOk(*dialog);
    ASSERT_TRUE(accepted(*dialog)) << messages_.texts().join(" | ").toStdString();
    const LinkSettings& s = dialog->settings();
    EXPECT_EQ(s.transport, Transport::Serial);
    EXPECT_EQ(s.serialPort, 2);
    EXPECT_EQ(s.deviceIndex, 0u);
    EXPECT_EQ(s.updateMode, kUpdateSingle);
    EXPECT_EQ(serialNumber(s.deviceInfo), QStringLiteral("ZV20260001"));
}

class InstrumentWindowTest : public DeviceLinkTest {
  protected:
    InstrumentWindowTest() {
        scopeType_.documentString = QStringLiteral("\nScope\nScope\n\n\nScope.Document\nScope");
    }
    DocumentTemplate scopeType_;
};

TEST_F(InstrumentWindowTest, ConnectAndDisconnectFollowTheChoiceAndCarryTheSerialNumber) {
    Document document(scopeType_);
    document.setName(QStringLiteral("DigitalScope1"));
    QWidget view;
    CommandMap commands;
    deviceLinkOf(document).adoptSession(sessionFor(DeviceFunction::Scope));
    InstrumentWindow window(view, commands, document);
    EXPECT_FALSE(commands.state(cmd::kConnect).enabled);  // no device chosen yet
    EXPECT_FALSE(commands.state(cmd::kDisconnect).enabled);
    EXPECT_TRUE(commands.state(cmd::kOption).enabled);

    LinkSettings s = lanSettings();
    std::strcpy(s.deviceInfo.serialNumber, "ZV20260001");
    window.link().applySettings(s);
    ASSERT_TRUE(commands.state(cmd::kConnect).enabled);
    commands.run(cmd::kConnect);
    EXPECT_EQ(document.title(), QStringLiteral("DigitalScope1 - SN: ZV20260001"));
    EXPECT_FALSE(commands.state(cmd::kConnect).enabled);
    EXPECT_TRUE(commands.state(cmd::kDisconnect).enabled);
    EXPECT_TRUE(eventually([&] { return uploads() >= 1; }));

    commands.run(cmd::kDisconnect);
    EXPECT_EQ(document.title(), QStringLiteral("DigitalScope1"));
    EXPECT_TRUE(commands.state(cmd::kConnect).enabled);
}

TEST_F(InstrumentWindowTest, AWindowThatGoesWhileConnectedFreesItsInstrument) {
    Document document(scopeType_);
    {
        QWidget view;
        CommandMap commands;
        deviceLinkOf(document).adoptSession(sessionFor(DeviceFunction::Scope));
        InstrumentWindow window(view, commands, document);
        window.link().applySettings(lanSettings());
        ASSERT_TRUE(window.connect());
        ASSERT_TRUE(eventually([&] { return uploads() >= 1; }));
    }
    EXPECT_FALSE(deviceLinkOf(document).isConnected());
    EXPECT_FALSE(deviceLinkOf(document).hasWorker());
    EXPECT_FALSE(DeviceTables::instance().isConnected(Transport::Lan, 0));
}

}  // namespace
}  // namespace oscilane::testing
