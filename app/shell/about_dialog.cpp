#include "shell/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace oscilane {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Oscilane"));
    auto* picture = new QLabel;
    picture->setPixmap(QPixmap(QStringLiteral(":/icons/oscilane.png")));
    auto* text =
        new QLabel(QStringLiteral("Oscilane for Zelvo Version 1.03\n\n"
                                  "Oscilloscope, multimeter and function generator"));
    auto* row = new QHBoxLayout;
    row->addWidget(picture, 0, Qt::AlignTop);
    row->addWidget(text, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

}  // namespace oscilane
