// The "Cal Data" dialog of a scope window connected to the simulated
// instrument over loopback UDP: Ctrl+Shift+K opens it, the TDC values are
// written and read back, a wave calibration offset reaches the instrument,
// the ETS update state toggles, and closing the dialog stops the TDC reads.
#include "live_window.h"  // first: the simulator's headers precede Qt's keyword macros

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "device/device_link.h"
#include "scope/cal_data_dialog.h"
#include "scope/scope_screen.h"
#include "scope/scope_session.h"
#include "scope/scope_view.h"
#include "scope/scope_window.h"
#include "zelvo/command_codes.h"

using namespace oscilane;

namespace {

class CalDataLive : public LiveWindow<ScopeView> {
  protected:
    void SetUp() override { show(createScopeView, createScopeFrame, QSize(1100, 760)); }

    ScopeData& data() {
        return static_cast<ScopeSession*>(deviceLinkOf(document_).session())->data();
    }
    std::optional<uint32_t> lastSet(zelvo::Command c) {
        return instrument_.inspect([c](zelvo::sim::Instrument& i, zelvo::sim::Responder&) {
            return i.lastSetValue(zelvo::code(c));
        });
    }
    bool waitFor(const std::function<bool()>& done) {
        return QTest::qWaitFor(done, kLivePatienceMs);
    }
};

}  // namespace

TEST_F(CalDataLive, WritesReadsBackAndTogglesAgainstTheInstrument) {
    ASSERT_TRUE(connect()) << messages();
    EXPECT_EQ(data().tdcReadEnable, 0u);

    view_->activateWindow();
    view_->screen().setFocus();
    QTest::keyClick(&view_->screen(), Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier);
    auto* dialog = view_->findChild<CalDataDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(data().tdcReadEnable, 1u);
    EXPECT_EQ(dialog->maxEdit()->maxLength(), 5);

    // Both values go out in one word, Max in the high half; the uploads read them back.
    dialog->maxEdit()->setText(QStringLiteral("1234"));
    dialog->minEdit()->setText(QStringLiteral("567"));
    dialog->maxOk()->click();
    EXPECT_TRUE(
        waitFor([&] { return lastSet(zelvo::Command::TdcCalibration) == (1234u << 16) + 567u; }));
    EXPECT_TRUE(waitFor([&] {
        return dialog->maxValue()->text() == QStringLiteral("1234") &&
               dialog->minValue()->text() == QStringLiteral("567");
    }));

    // "-3" of the third group: its list position goes out in the group's byte.
    QComboBox* group = dialog->waveList(2);
    ASSERT_EQ(group->itemText(13), QStringLiteral("-3"));
    group->activated(13);
    EXPECT_TRUE(waitFor([&] { return lastSet(zelvo::Command::WaveCalibration) == 13u << 16; }));

    // The ETS update state starts unknown and flips with each click.
    EXPECT_EQ(dialog->updateButton()->text(), QStringLiteral("Update"));
    dialog->updateButton()->click();
    EXPECT_TRUE(
        waitFor([&] { return dialog->updateButton()->text() == QStringLiteral("Update!"); }));
    EXPECT_EQ(lastSet(zelvo::Command::EtsUpdate), 1u);
    dialog->updateButton()->click();
    EXPECT_TRUE(
        waitFor([&] { return dialog->updateButton()->text() == QStringLiteral("No Update!"); }));

    // An out-of-range value is refused with a message, nothing is written.
    dialog->maxEdit()->setText(QStringLiteral("70000"));
    dialog->minOk()->click();
    EXPECT_TRUE(messages_.texts().contains(QStringLiteral("Cal Data must be 0 to 65535!")));

    dialog->reject();
    EXPECT_EQ(data().tdcReadEnable, 0u);
    EXPECT_EQ(lastSet(zelvo::Command::TdcCalibration), (1234u << 16) + 567u);
}
