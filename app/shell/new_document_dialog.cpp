#include "shell/new_document_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace oscilane {
namespace {

struct Choice {
    const char* text;
    bool enabled;
    bool visible;
};

// In type order; the texts are the ones users know from the instrument's software.
constexpr Choice kChoices[] = {
    {"Digital Socpe", true, true},
    {"Digital Meter", true, true},
    {"Arbitrary Function Generator", false, true},
    {" Wave Data Sheet", true, false},
    {" Wave Record", true, false},
};

}  // namespace

NewDocumentDialog::NewDocumentDialog(QWidget* parent)
    : QDialog(parent), choices_(new QButtonGroup(this)) {
    setWindowTitle(QStringLiteral("New Document"));
    auto* group = new QGroupBox(QStringLiteral("Document Type"));
    auto* groupLayout = new QVBoxLayout(group);
    for (int type = 0; type < static_cast<int>(std::size(kChoices)); ++type) {
        auto* button = new QRadioButton(QString::fromLatin1(kChoices[type].text));
        button->setEnabled(kChoices[type].enabled);
        button->setVisible(kChoices[type].visible);
        choices_->addButton(button, type);
        groupLayout->addWidget(button);
    }
    choices_->button(0)->setChecked(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

QRadioButton* NewDocumentDialog::choice(int type) const {
    return qobject_cast<QRadioButton*>(choices_->button(type));
}

int NewDocumentDialog::checkedType() const { return choices_->checkedId(); }

std::optional<int> NewDocumentDialog::chooseType() {
    if (exec() != QDialog::Accepted) return std::nullopt;
    return checkedType();
}

}  // namespace oscilane
