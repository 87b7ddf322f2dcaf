// The "DDS Controller" bar: one box per generator parameter, the check boxes
// and the spins.  An entry is limited by the generator's rules, the limited
// value written back into its box and stored in the wave, and the change
// handed to the connection as a generator command.  Only the boxes of the
// current wave type are shown.
#pragma once

#include <QWidget>
#include <functional>
#include <map>

#include "device/command_sink.h"
#include "generator/generator_commands.h"
#include "model/generator_limits.h"
#include "model/generator_wave.h"

class QCheckBox;
class QLabel;
class QToolButton;

namespace oscilane {

class NumberEdit;

// Two arrow buttons that report a spin change as the spin controls count it:
// the up arrow is a change of -1, the down arrow +1.
class SpinArrows : public QWidget {
    Q_OBJECT
  public:
    explicit SpinArrows(QWidget* parent = nullptr);
    QToolButton* up() const { return up_; }
    QToolButton* down() const { return down_; }

  signals:
    void changed(int change);

  private:
    QToolButton* up_;
    QToolButton* down_;
};

class DdsController : public QWidget {
    Q_OBJECT
  public:
    // `connected` tells whether the window's device is connected; a change
    // of wave type is sent only then.
    DdsController(GeneratorWave& wave, CommandSink& commands, std::function<bool()> connected,
                  QWidget* parent = nullptr);

    // Loads every box and check box from the wave.
    void load();
    // Shows the boxes of the current wave type and hides the others.
    void arrange();

    // Chooses a wave type as the tool bar does; false when it was current.
    // "Arb" is made from the current shape, after mayReplaceBuffer.
    bool chooseType(WaveType type);
    // Asked before the buffer is replaced (by a synthesis or a loaded file):
    // true when it holds no hand edits or the user discards them.  Edits the
    // user keeps are shown: the wave becomes "Arb" over them.
    bool mayReplaceBuffer();

    // Takes the text of a box as if it had lost the focus.
    void acceptBox(GeneratorBox box);
    void spinOffset(int change);
    void spinPhase(int change);

    NumberEdit* edit(GeneratorBox box) const;
    QCheckBox* riseBox() const { return rise_; }
    QCheckBox* fmBox() const { return fm_; }
    QCheckBox* syncOutBox() const { return syncOut_; }
    QCheckBox* powerOnBox() const { return powerOn_; }
    SpinArrows* offsetSpin() const { return offsetSpin_; }
    SpinArrows* phaseSpin() const { return phaseSpin_; }
    // Whether a box's row is shown (its label, box, unit and spin go together).
    bool rowShown(GeneratorBox box) const;

  signals:
    // The wave changed: a parameter, the type or the buffer.
    void waveChanged();

  private:
    struct Row {
        QList<QWidget*> widgets;  // everything on the row, hidden together
        NumberEdit* edit = nullptr;
    };
    NumberEdit* addEditRow(GeneratorBox box, const char* label, const char* unit,
                           bool allowNegative, SpinArrows* spin = nullptr);
    QCheckBox* addCheckRow(GeneratorBox box, const char* label);
    void checkBoxClicked(GeneratorBox box, bool on);
    void post(GeneratorCommandKind kind, bool state = false);
    void switchToArbitrary(EditedBuffer edits);

    GeneratorWave& wave_;
    CommandSink& commands_;
    std::function<bool()> connected_;
    std::map<GeneratorBox, Row> rows_;
    QCheckBox* rise_ = nullptr;
    QCheckBox* fm_ = nullptr;
    QCheckBox* syncOut_ = nullptr;
    QCheckBox* powerOn_ = nullptr;
    SpinArrows* offsetSpin_ = nullptr;
    SpinArrows* phaseSpin_ = nullptr;
    int nextRow_ = 0;
};

}  // namespace oscilane
