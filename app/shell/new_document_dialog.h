// The "New Document" dialog: one choice per document type.  The generator's
// choice is shown disabled; the data sheet and recorder choices are hidden.
#pragma once

#include <QDialog>
#include <optional>

class QButtonGroup;
class QRadioButton;

namespace oscilane {

class NewDocumentDialog : public QDialog {
    Q_OBJECT
  public:
    explicit NewDocumentDialog(QWidget* parent = nullptr);

    QRadioButton* choice(int type) const;
    // The chosen type, or nothing on Cancel.
    std::optional<int> chooseType();
    int checkedType() const;

  private:
    QButtonGroup* choices_;
};

}  // namespace oscilane
