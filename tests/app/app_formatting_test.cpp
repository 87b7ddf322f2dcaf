// The formatters against the texts users see, range edges included.
#include <QTest>

#include "shell/formatting.h"

using namespace oscilane;

class FormattingTest : public QObject {
    Q_OBJECT
  private slots:
    void fixedDecimals_data();
    void fixedDecimals();
    void voltText_data();
    void voltText();
    void timeText_data();
    void timeText();
    void freqText_data();
    void freqText();
    void dbText_data();
    void dbText();
    void parseDecimal_data();
    void parseDecimal();
};

void FormattingTest::fixedDecimals_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("fmt3 below 10") << fmt3(9.994) << "9.99";
    QTest::newRow("fmt3 rounds up across the range") << fmt3(9.999) << "10.00";
    QTest::newRow("fmt3 from 10") << fmt3(10) << "10.0";
    QTest::newRow("fmt3 from 100") << fmt3(100) << "100";
    QTest::newRow("fmt3 negative has no decimals") << fmt3(-1.5) << "-2";
    QTest::newRow("fmtN 4 below 10") << fmtN(1.5, 4) << "1.500";
    QTest::newRow("fmtN 4 from 10") << fmtN(25, 4) << "25.00";
    QTest::newRow("fmtN 4 from 100") << fmtN(500, 4) << "500.0";
    QTest::newRow("fmtN 4 from 1000") << fmtN(1500, 4) << "1500";
    QTest::newRow("fmtN negative") << fmtN(-0.5, 4) << "-0";
}

void FormattingTest::fixedDecimals() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(text, expected);
}

void FormattingTest::voltText_data() {
    QTest::addColumn<double>("millivolts");
    QTest::addColumn<int>("probe");
    QTest::addColumn<QString>("expected");
    QTest::newRow("millivolts") << 500.0 << 0 << "500mV";
    QTest::newRow("probe 10x gives volts") << 500.0 << 1 << "5.00V";
    QTest::newRow("negative microvolts") << -0.25 << 0 << QString::fromUtf8("-250\u03bcV");
    QTest::newRow("below a microvolt is empty") << 0.0005 << 0 << "";
    QTest::newRow("1000x lifts it into range") << 0.0005 << 3 << QString::fromUtf8("500\u03bcV");
    QTest::newRow("1000x of 0.5 mV") << 0.5 << 3 << "500mV";
    QTest::newRow("100x") << 2.0 << 2 << "200mV";
    QTest::newRow("unknown probe index acts as 1x") << 2.0 << 7 << "2.00mV";
    QTest::newRow("kilovolts") << 2.5e6 << 0 << "2.50kV";
    QTest::newRow("1e9 mV is out of range") << 1e9 << 0 << "";
    QTest::newRow("negative out of range keeps the sign") << -0.0001 << 0 << "-";
    QTest::newRow("exactly 1 mV") << 1.0 << 0 << "1.00mV";
    QTest::newRow("exactly 1 V") << 1000.0 << 0 << "1.00V";
}

void FormattingTest::voltText() {
    QFETCH(double, millivolts);
    QFETCH(int, probe);
    QFETCH(QString, expected);
    QCOMPARE(oscilane::voltText(millivolts, static_cast<uint16_t>(probe)), expected);
}

void FormattingTest::timeText_data() {
    QTest::addColumn<double>("nanoseconds");
    QTest::addColumn<QString>("expected");
    QTest::newRow("below 10 ns is empty") << 9.9 << "";
    QTest::newRow("10 ns") << 10.0 << "10.0nS";
    QTest::newRow("rounds to 1000nS within its range") << 999.9 << "1000nS";
    QTest::newRow("microseconds 2 decimals") << 2500.0 << "2.50uS";
    QTest::newRow("microseconds 1 decimal") << 25000.0 << "25.0uS";
    QTest::newRow("microseconds 0 decimals") << 250000.0 << "250uS";
    QTest::newRow("milliseconds") << 5e6 << "5.00mS";
    QTest::newRow("milliseconds 0 decimals") << 5e8 << "500mS";
    QTest::newRow("seconds") << 2e9 << "2.00S";
    QTest::newRow("100 seconds") << 1e11 << "100S";
    QTest::newRow("from 1e12 ns empty") << 1e12 << "";
    QTest::newRow("negative") << -2500.0 << "-2.50uS";
    QTest::newRow("negative too short") << -5.0 << "-";
}

void FormattingTest::timeText() {
    QFETCH(double, nanoseconds);
    QFETCH(QString, expected);
    QCOMPARE(oscilane::timeText(nanoseconds), expected);
}

void FormattingTest::freqText_data() {
    QTest::addColumn<double>("hertz");
    QTest::addColumn<QString>("expected");
    QTest::newRow("hertz") << 50.0 << "50.00Hz";
    QTest::newRow("zero") << 0.0 << "0.000Hz";
    QTest::newRow("range chosen before rounding") << 999.99 << "1000.0Hz";
    QTest::newRow("kilohertz") << 1000.0 << "1.000KHz";
    QTest::newRow("megahertz") << 2.5e7 << "25.00MHz";
    QTest::newRow("gigahertz") << 1.2e9 << "1.200GHz";
    QTest::newRow("negative empty") << -1.0 << "";
    QTest::newRow("1e12 empty") << 1e12 << "";
}

void FormattingTest::freqText() {
    QFETCH(double, hertz);
    QFETCH(QString, expected);
    QCOMPARE(oscilane::freqText(hertz), expected);
}

void FormattingTest::dbText_data() {
    QTest::addColumn<double>("decibels");
    QTest::addColumn<QString>("expected");
    QTest::newRow("negative tens") << -23.456 << "-23.5dB";
    QTest::newRow("units") << 3.14159 << "3.14dB";
    QTest::newRow("hundreds") << 123.4 << "123dB";
    QTest::newRow("negative hundreds") << -150.0 << "-150dB";
}

void FormattingTest::dbText() {
    QFETCH(double, decibels);
    QFETCH(QString, expected);
    QCOMPARE(oscilane::dbText(decibels, 3), expected);
}

void FormattingTest::parseDecimal_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("decimal") << "1.5" << 1.5;
    QTest::newRow("negative") << "-2" << -2.0;
    QTest::newRow("zero") << "0" << 0.0;
    QTest::newRow("leading point") << ".25" << 0.25;
    QTest::newRow("exponent is not plain") << "1e3" << 0.0;
    QTest::newRow("minus inside") << "1-2" << 0.0;
    QTest::newRow("two points") << "1.2.3" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("lone minus") << "-" << 0.0;
    QTest::newRow("blank") << " 1" << 0.0;
    QTest::newRow("plus sign") << "+1" << 0.0;
    // U+0131 has the low byte 0x31, the digit '1'.
    QTest::newRow("only the low byte counts") << QString::fromUtf8("\u0131.5") << 1.5;
    QTest::newRow("too large to hold") << QString(400, QLatin1Char('9')) << 0.0;
}

void FormattingTest::parseDecimal() {
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(oscilane::parseDecimal(text), expected);
}

QTEST_GUILESS_MAIN(FormattingTest)
#include "app_formatting_test.moc"
