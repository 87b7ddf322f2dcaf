#include "shell/number_edit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegularExpression>

#include "model/formatting.h"

namespace oscilane {
namespace {

constexpr int kFixedDecimals = 3;
constexpr char16_t kBackspace = 0x08;

bool insideSelection(qsizetype index, int start, int end) { return index >= start && index < end; }

// A sign may be typed at the start when the text has no sign yet, when the
// other sign lies in the selection, or when its own existing copy does.
bool signAccepted(QChar sign, QChar other, const QString& text, int start, int end) {
    if (start != 0) return false;
    qsizetype own = text.indexOf(sign);
    qsizetype opposite = text.indexOf(other);
    if (own >= 0) return insideSelection(own, start, end);
    return opposite < 0 || insideSelection(opposite, start, end);
}

}  // namespace

bool numberKeyAccepted(QChar c, const QString& text, int selectionStart, int selectionEnd,
                       bool allowNegative) {
    if (c.unicode() > 'z') return false;
    if (c.isDigit() || c.unicode() == kBackspace) return true;
    if (c == QLatin1Char('.')) {
        if (selectionStart == 0) return false;
        if (selectionStart == 1 && !(text.size() > 0 && text[0].isDigit())) return false;
        // A second point would make the text no number at all.
        qsizetype point = text.indexOf(QLatin1Char('.'));
        return point < 0 || insideSelection(point, selectionStart, selectionEnd);
    }
    if (c == QLatin1Char('-'))
        return allowNegative &&
               signAccepted(QLatin1Char('-'), QLatin1Char('+'), text, selectionStart, selectionEnd);
    if (c == QLatin1Char('+'))
        return signAccepted(QLatin1Char('+'), QLatin1Char('-'), text, selectionStart, selectionEnd);
    return false;
}

QString normalisedNumberText(const QString& text, const QString& lastAccepted, uint16_t decimals,
                             bool allowNegative) {
    if (text == lastAccepted) return text;
    if (text.isEmpty() || text == QLatin1String("-") || text == QLatin1String("-0.000") ||
        text.startsWith(QLatin1String(".")) || text.startsWith(QLatin1String("-.")) ||
        text.startsWith(QLatin1String("+.")))
        return lastAccepted;
    // Pasted text reaches here unfiltered, so the whole text is checked.
    static const QRegularExpression plainNumber(
        QStringLiteral("^([+-]?)([0-9]+)(?:\\.([0-9]*))?$"));
    QRegularExpressionMatch parts = plainNumber.match(text);
    if (!parts.hasMatch()) return lastAccepted;

    QString sign = parts.captured(1);
    QString whole = parts.captured(2);
    QString fraction = parts.captured(3);
    const bool hasPoint = text.contains(QLatin1Char('.'));

    qsizetype firstSignificant = 0;
    while (firstSignificant < whole.size() && whole[firstSignificant] == QLatin1Char('0'))
        ++firstSignificant;
    if (firstSignificant == whole.size()) {
        if (!hasPoint) return QStringLiteral("0.000");
        whole = QStringLiteral("0");  // "00.5" keeps one zero: "0.5"
    } else {
        whole = whole.mid(firstSignificant);
    }
    fraction = fraction.leftJustified(kFixedDecimals, QLatin1Char('0'), true);

    if (!allowNegative) sign.clear();
    if (decimals != 0 && decimals < kFixedDecimals) fraction.truncate(decimals);

    QString result = sign + whole + QLatin1Char('.') + fraction;
    // A negative zero such as "-0.0" is refused like "-0.000".
    static const QRegularExpression negativeZero(QStringLiteral("^-0\\.0*$"));
    if (negativeZero.match(result).hasMatch()) return lastAccepted;
    return result;
}

NumberEdit::NumberEdit(QWidget* parent) : QLineEdit(parent) {
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSize(10);
    setFont(arial);
}

void NumberEdit::setValue(double value) {
    lastAccepted_ = QString::fromStdString(FixedText(value, decimals_ != 0 ? decimals_ : 6));
    setText(lastAccepted_);
}

void NumberEdit::setColors(const QColor& text, const QColor& background) {
    QPalette p = palette();
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Base, background);
    setPalette(p);
}

void NumberEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    // Editing keys, shortcuts and navigation reach the line edit unfiltered;
    // only characters that would be inserted are checked.
    bool insertsCharacter = typed.size() == 1 && typed[0].isPrint() &&
                            !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (insertsCharacter) {
        int start = hasSelectedText() ? selectionStart() : cursorPosition();
        int end = hasSelectedText() ? selectionEnd() : start;
        if (!numberKeyAccepted(typed[0], text(), start, end, allowNegative_)) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void NumberEdit::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        selectAll();
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void NumberEdit::focusOutEvent(QFocusEvent* event) {
    // The edit's own context menu takes the focus only for a moment.
    if (event->reason() == Qt::PopupFocusReason) {
        QLineEdit::focusOutEvent(event);
        return;
    }
    lastAccepted_ = normalisedNumberText(text(), lastAccepted_, decimals_, allowNegative_);
    setText(lastAccepted_);
    QLineEdit::focusOutEvent(event);
}

}  // namespace oscilane
