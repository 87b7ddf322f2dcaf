// The "Edit Point" dialog: sets one sample of an "Arb" wave to a typed
// voltage.  The index box and its spin choose the sample (kept within the
// editable points), the voltage box shows it and takes any new value a
// sample can hold (a finite single-precision number), and "Update" refreshes
// the box and reports the change.
#pragma once

#include <QDialog>

#include "model/generator_wave.h"

class QLineEdit;

namespace oscilane {

class NumberEdit;
class SpinArrows;

class EditPointDialog : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kIndexCharacters = 4;

    EditPointDialog(GeneratorWave& wave, int index, QWidget* parent = nullptr);

    int index() const { return index_; }
    QLineEdit* indexBox() const { return indexBox_; }
    NumberEdit* voltageBox() const { return voltageBox_; }

    // A spin change: +1 raises the index, -1 lowers it.
    void spin(int change);
    // Takes the index box's text as if it had lost the focus.
    void acceptIndex();
    // Takes the voltage box's text into the sample.
    void acceptVoltage();
    // The "Update" button.
    void updatePoint();

  signals:
    // The sample the dialog edits moved; the view's cursor follows.
    void indexChanged(int index);
    // "Update" was pressed: the wave is to be sent.
    void pointUpdated();

  private:
    void showIndex(int index);

    GeneratorWave& wave_;
    int index_ = 0;
    QLineEdit* indexBox_;
    SpinArrows* spin_;
    NumberEdit* voltageBox_;
};

}  // namespace oscilane
