// The "Option" dialog of an instrument window: the transport and instrument
// of the window and, for a scope window, the data update mode and interval.
// It edits a copy of the window's settings and tests the chosen instrument
// (open, identify, close); the window's Connect command opens it for use.
#pragma once

#include <QDialog>
#include <array>
#include <vector>

#include "device/link_settings.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableWidget;

namespace oscilane {

class CDeviceLink;

class OptionDialog : public QDialog {
    Q_OBJECT
  public:
    // Columns of the USB list.
    enum Column { IdColumn, NameColumn, SerialColumn, StatusColumn };

    OptionDialog(const CDeviceLink& link, QWidget* parent = nullptr);

    // The edited copy; the window applies it when the dialog was accepted.
    const LinkSettings& settings() const { return settings_; }

    void accept() override;

  private:
    void buildControls();
    void showTransport(Transport transport);
    void fillUsbList();
    void fillPortList();
    void takeUpdateChoice();
    bool acceptUsb();
    bool acceptSerial();
    bool acceptLan();
    // Tests the chosen instrument and takes the update choice.
    bool testDevice();
    // The LAN instruments in use, for the LAN page; empty when there are none.
    static QString lanInUseText();

    const LinkSettings original_;
    LinkSettings settings_;
    const bool connected_;
    const bool scopeWindow_;

    int usbCount_ = 0;
    std::array<uint32_t, 16> rowSlots_{};
    std::vector<uint8_t> portNumbers_;

    QButtonGroup* transports_ = nullptr;
    QRadioButton* usbRadio_ = nullptr;
    QRadioButton* serialRadio_ = nullptr;
    QRadioButton* lanRadio_ = nullptr;
    QLabel* listLabel_ = nullptr;
    QTableWidget* usbList_ = nullptr;
    QLabel* portLabel_ = nullptr;
    QComboBox* ports_ = nullptr;
    QLabel* baudLabel_ = nullptr;
    QComboBox* bauds_ = nullptr;
    QLabel* addressLabel_ = nullptr;
    QLineEdit* address_ = nullptr;
    // The addresses other windows are connected to, one per line.
    QLabel* lanInUse_ = nullptr;
    QRadioButton* autoRadio_ = nullptr;
    QRadioButton* singleRadio_ = nullptr;
    QComboBox* intervals_ = nullptr;
};

}  // namespace oscilane
