// The instrument named by --connect: a USB instrument found on the simulated
// bus without the Option dialog having listed it first, and a failed
// connection told on standard error as well as in its box.
// The simulator's headers must come before any of Qt's.
// clang-format off
#include "usb_bus_fixture.h"
// clang-format on

#include "device/connect_target.h"

#include <gtest/gtest.h>

#include <QWidget>
#include <memory>
#include <string>

#include "device/device_messages.h"
#include "device/device_tables.h"
#include "device/instrument_window.h"
#include "scope/scope_session.h"
#include "shell/command_map.h"
#include "shell/document.h"
#include "shell/document_template.h"
#include "shell/message_service.h"

namespace oscilane::testing {
namespace {

// The simulated USB bus is the driver's for the whole process, whichever test comes first.
class NamedInstrumentTest : public zelvo::testing::UsbLinkTest {
  protected:
    NamedInstrumentTest() {
        scopeType_.documentString = QStringLiteral("\nScope\nScope\n\n\nScope.Document\nScope");
        DeviceTables::instance().clear();
    }
    ~NamedInstrumentTest() override { DeviceTables::instance().clear(); }

    // Connects a fresh scope window to the target; returns what went to standard error.
    std::string connectWindowTo(const char* target, bool* connected) {
        QString error;
        const auto settings = settingsForConnectTarget(QString::fromLatin1(target), &error);
        EXPECT_TRUE(settings) << error.toStdString();
        if (!settings) return {};
        Document document(scopeType_);
        QWidget view;
        CommandMap commands;
        deviceLinkOf(document).adoptSession(std::make_unique<ScopeSession>());
        InstrumentWindow window(view, commands, document);
        ::testing::internal::CaptureStderr();
        *connected = connectNamedInstrument(window, *settings);
        const std::string written = ::testing::internal::GetCapturedStderr();
        if (*connected) title_ = document.title();
        return written;
    }

    DocumentTemplate scopeType_;
    MessageRecorder messages_;
    QString title_;
};

TEST_F(NamedInstrumentTest, AUsbInstrumentConnectsWithoutTheOptionDialog) {
    bool connected = false;
    const std::string written = connectWindowTo("usb:1", &connected);
    EXPECT_TRUE(connected) << written;
    EXPECT_TRUE(written.empty()) << written;
    EXPECT_TRUE(messages_.texts().isEmpty()) << messages_.texts().join(" | ").toStdString();
    EXPECT_TRUE(title_.endsWith(QStringLiteral(" - SN: USB-2"))) << title_.toStdString();
}

TEST_F(NamedInstrumentTest, AFailedConnectionIsShownAndWrittenToStandardError) {
    // The bus's third instrument is unplugged.
    bool connected = true;
    const std::string written = connectWindowTo("usb:2", &connected);
    EXPECT_FALSE(connected);
    EXPECT_EQ(written, std::string("Oscilane: ") + msg::kCannotConnect + "\n");
    EXPECT_EQ(messages_.texts(), QStringList{QString::fromUtf8(msg::kCannotConnect)});
}

}  // namespace
}  // namespace oscilane::testing
