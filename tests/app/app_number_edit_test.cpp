// NumberEdit: which keystrokes pass, what leaving the edit makes of its text,
// and the same through a real widget (typing, pasting, focus changes).
#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "shell/number_edit.h"

using namespace oscilane;

class NumberEditTest : public QObject {
    Q_OBJECT
  private slots:
    void keyFilter_data();
    void keyFilter();
    void normalised_data();
    void normalised();
    void typedTextIsNormalisedOnLeaving();
    void pastedTextIsCheckedAsTyped();
    void setValueUsesFixedDecimals();
};

void NumberEditTest::keyFilter_data() {
    QTest::addColumn<QChar>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<bool>("negatives");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("digit") << QChar('7') << "12" << 2 << 2 << false << true;
    QTest::newRow("letter") << QChar('a') << "12" << 2 << 2 << false << false;
    QTest::newRow("above z") << QChar(0x00e9) << "12" << 2 << 2 << false << false;
    QTest::newRow("point at start") << QChar('.') << "12" << 0 << 0 << false << false;
    QTest::newRow("point after digit") << QChar('.') << "12" << 1 << 1 << false << true;
    QTest::newRow("point after sign") << QChar('.') << "-1" << 1 << 1 << true << false;
    QTest::newRow("point at end") << QChar('.') << "12" << 2 << 2 << false << true;
    QTest::newRow("second point") << QChar('.') << "1.2" << 3 << 3 << false << false;
    QTest::newRow("second point after first digit")
        << QChar('.') << "12.5" << 1 << 1 << false << false;
    QTest::newRow("point replacing the point") << QChar('.') << "1.2" << 1 << 2 << false << true;
    QTest::newRow("minus when not allowed") << QChar('-') << "5" << 0 << 0 << false << false;
    QTest::newRow("minus at start") << QChar('-') << "5" << 0 << 0 << true << true;
    QTest::newRow("minus not at start") << QChar('-') << "5" << 1 << 1 << true << false;
    QTest::newRow("second minus") << QChar('-') << "-5" << 0 << 0 << true << false;
    QTest::newRow("minus over selected minus") << QChar('-') << "-5" << 0 << 1 << true << true;
    QTest::newRow("minus beside plus") << QChar('-') << "+5" << 0 << 0 << true << false;
    QTest::newRow("minus over selected plus") << QChar('-') << "+5" << 0 << 1 << true << true;
    QTest::newRow("plus at start") << QChar('+') << "5" << 0 << 0 << false << true;
    QTest::newRow("plus beside minus") << QChar('+') << "-5" << 0 << 0 << true << false;
    QTest::newRow("plus over selected minus") << QChar('+') << "-5" << 0 << 1 << true << true;
}

void NumberEditTest::keyFilter() {
    QFETCH(QChar, key);
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(bool, negatives);
    QFETCH(bool, accepted);
    QCOMPARE(numberKeyAccepted(key, text, start, end, negatives), accepted);
}

void NumberEditTest::normalised_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<bool>("negatives");
    QTest::addColumn<QString>("expected");
    const QString last = QStringLiteral("7.000");
    QTest::newRow("integer") << "12" << 0 << false << "12.000";
    QTest::newRow("cut, not rounded") << "3.14159" << 0 << false << "3.141";
    QTest::newRow("padded") << "2.5" << 0 << false << "2.500";
    QTest::newRow("trailing point") << "4." << 0 << false << "4.000";
    QTest::newRow("leading zeros") << "0012.5" << 0 << false << "12.500";
    QTest::newRow("zero before point kept") << "00.5" << 0 << false << "0.500";
    QTest::newRow("only zeros") << "000" << 0 << false << "0.000";
    QTest::newRow("negative zero refused") << "-0.000" << 0 << true << last;
    QTest::newRow("other negative zero refused") << "-0.0" << 0 << true << last;
    QTest::newRow("empty") << "" << 0 << false << last;
    QTest::newRow("lone minus") << "-" << 0 << true << last;
    QTest::newRow("leading point") << ".5" << 0 << false << last;
    QTest::newRow("sign and point") << "-.5" << 0 << true << last;
    QTest::newRow("plus and point") << "+.5" << 0 << false << last;
    QTest::newRow("negative kept") << "-2" << 0 << true << "-2.000";
    QTest::newRow("sign dropped when not allowed") << "-2" << 0 << false << "2.000";
    QTest::newRow("two decimals") << "3.14159" << 2 << false << "3.14";
    QTest::newRow("not a number") << "abc" << 0 << false << last;
    QTest::newRow("two points") << "1.2.3" << 0 << false << last;
    QTest::newRow("blank inside") << "1 2" << 0 << false << last;
    QTest::newRow("unchanged text stays") << last << 0 << false << last;
}

void NumberEditTest::normalised() {
    QFETCH(QString, text);
    QFETCH(int, decimals);
    QFETCH(bool, negatives);
    QFETCH(QString, expected);
    QCOMPARE(normalisedNumberText(text, QStringLiteral("7.000"), static_cast<uint16_t>(decimals),
                                  negatives),
             expected);
}

// Two edits in one window, so focus can move away from the one under test.
struct EditWindow {
    QWidget window;
    NumberEdit* edit = new NumberEdit(&window);
    QLineEdit* other = new QLineEdit(&window);
    EditWindow() {
        other->move(0, 40);
        window.show();
        edit->setFocus();
        QApplication::setActiveWindow(&window);
    }
    void leave() {
        other->setFocus();
        QApplication::processEvents();
    }
};

void NumberEditTest::typedTextIsNormalisedOnLeaving() {
    EditWindow w;
    w.edit->setAllowNegative(true);
    w.edit->setValue(5);
    w.edit->selectAll();
    QTest::keyClicks(w.edit, QStringLiteral("x-1a2.5.6"));
    QCOMPARE(w.edit->text(), QStringLiteral("-12.56"));
    w.leave();
    QCOMPARE(w.edit->text(), QStringLiteral("-12.560"));
    QCOMPARE(w.edit->lastAccepted(), QStringLiteral("-12.560"));

    w.edit->setFocus();
    w.edit->selectAll();
    QTest::keyClicks(w.edit, QStringLiteral("-0.000"));
    w.leave();
    QCOMPARE(w.edit->text(), QStringLiteral("-12.560"));
}

void NumberEditTest::pastedTextIsCheckedAsTyped() {
    EditWindow w;
    w.edit->setValue(1);
    w.edit->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("12abc"));
    w.edit->paste();
    w.leave();
    QCOMPARE(w.edit->text(), w.edit->lastAccepted());
    QCOMPARE(w.edit->text(), QStringLiteral("1.000000"));
}

void NumberEditTest::setValueUsesFixedDecimals() {
    NumberEdit edit;
    edit.setValue(2.5);
    QCOMPARE(edit.text(), QStringLiteral("2.500000"));
    edit.setDecimals(2);
    edit.setValue(2.5);
    QCOMPARE(edit.text(), QStringLiteral("2.50"));
    QCOMPARE(edit.lastAccepted(), QStringLiteral("2.50"));
}

QTEST_MAIN(NumberEditTest)
#include "app_number_edit_test.moc"
