// A single-line edit for decimal numbers: it filters keystrokes and, when it
// loses the focus, normalises its text to a fixed number of decimals.
#pragma once

#include <QColor>
#include <QLineEdit>
#include <cstdint>

namespace oscilane {

// Whether typing c into text, over the selection [selectionStart, selectionEnd),
// is let through.  The caret is at selectionStart.
bool numberKeyAccepted(QChar c, const QString& text, int selectionStart, int selectionEnd,
                       bool allowNegative);

// The form text takes when the edit loses the focus; lastAccepted comes back
// for any text that is not a plain decimal number.  decimals 0 keeps three.
QString normalisedNumberText(const QString& text, const QString& lastAccepted, uint16_t decimals,
                             bool allowNegative);

class NumberEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit NumberEdit(QWidget* parent = nullptr);

    // Shows value with the fixed decimals (six when none are fixed) and takes
    // it as the last accepted text.
    void setValue(double value);
    void setDecimals(uint16_t decimals) { decimals_ = decimals; }
    void setAllowNegative(bool allow) { allowNegative_ = allow; }
    void setColors(const QColor& text, const QColor& background);
    const QString& lastAccepted() const { return lastAccepted_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    QString lastAccepted_;
    uint16_t decimals_ = 0;
    bool allowNegative_ = false;
};

}  // namespace oscilane
