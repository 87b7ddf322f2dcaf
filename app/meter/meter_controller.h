// The meter window's "DMM Controller" bar: the AC/DC, Auto/Manual, Rel and
// mA buttons, the Range and Time lists, Buffer Mode / Storage Mode and the
// storage log's path.  The bar never sets its own state: refresh() shows
// what the meter last reported, and each control queues the command that
// asks the meter for the opposite (model/meter_controls.h says which).
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "zelvo/zelvo_common.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace oscilane {

class CommandSink;
class MeterData;
struct MeterCommand;

class MeterController : public QWidget {
    Q_OBJECT
  public:
    // Asks the user for the storage log's file; empty when cancelled.
    using LogPathChooser = std::function<QString(QWidget* parent)>;

    MeterController(CommandSink& sink, MeterData& meterData, QWidget* parent = nullptr);

    // Shows the reported record: the range list, the buttons and which of
    // them are visible.  The window calls it every 100 ms while connected.
    void refresh(const DmmInfo& reported);

    void setLogPathChooser(LogPathChooser chooser) { chooseLogPath_ = std::move(chooser); }

    QPushButton* acDcButton() const { return acDc_; }
    QPushButton* autoManualButton() const { return autoManual_; }
    QPushButton* relButton() const { return rel_; }
    QPushButton* milliampsButton() const { return milliamps_; }
    QComboBox* rangeList() const { return range_; }
    QComboBox* timeList() const { return time_; }
    QRadioButton* bufferModeButton() const { return bufferMode_; }
    QRadioButton* storageModeButton() const { return storageMode_; }
    QLineEdit* pathBox() const { return path_; }

  private:
    void post(const MeterCommand& command);
    void chooseStorage();
    void chooseBuffer();
    void rangePicked(int index);

    CommandSink& sink_;
    MeterData& data_;
    LogPathChooser chooseLogPath_;
    DmmInfo reported_{};
    std::vector<std::string_view> shownRanges_;

    QPushButton* acDc_;
    QPushButton* autoManual_;
    QPushButton* rel_;
    QPushButton* milliamps_;
    QComboBox* range_;
    QComboBox* time_;
    QRadioButton* bufferMode_;
    QRadioButton* storageMode_;
    QLineEdit* path_;
};

}  // namespace oscilane
