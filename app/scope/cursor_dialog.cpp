#include "scope/cursor_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "model/scope_tool_texts.h"

namespace oscilane {

CursorDialog::CursorDialog(CursorChoice& choice, std::function<void()> changed, QWidget* parent)
    : QDialog(parent),
      choice_(choice),
      changed_(std::move(changed)),
      channel_(new QComboBox(this)) {
    setWindowTitle(QString::fromLatin1(tooltext::kCursorTitle));
    channel_->setObjectName(QStringLiteral("cursorChannel"));
    for (const char* name : tooltext::kCursorChannels) channel_->addItem(QString::fromLatin1(name));
    if (choice_.channel >= 0 && choice_.channel < channel_->count())
        channel_->setCurrentIndex(choice_.channel);
    else
        channel_->setCurrentIndex(-1);
    connect(channel_, &QComboBox::activated, this, [this](int index) {
        choice_.channel = static_cast<WaveChannel>(index);
        if (changed_) changed_();
    });

    auto* typeGroup = new QGroupBox(QString::fromLatin1(tooltext::kTypeGroup), this);
    auto* typeLayout = new QVBoxLayout(typeGroup);
    for (int t = 0; t < kCursorTypeCount; ++t) {
        auto* button = new QRadioButton(
            QString::fromLatin1(tooltext::kCursorTypes[static_cast<std::size_t>(t)]), typeGroup);
        button->setObjectName(QStringLiteral("cursorType%1").arg(t));
        button->setChecked(static_cast<int>(choice_.type) == t);
        connect(button, &QRadioButton::clicked, this, [this, button, t] {
            if (!button->isChecked()) return;
            choice_.type = static_cast<CursorType>(t);
            if (changed_) changed_();
        });
        typeLayout->addWidget(button);
        types_[static_cast<std::size_t>(t)] = button;
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(QString::fromLatin1(tooltext::kChannelLabel), channel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(typeGroup);
    layout->addWidget(buttons);
}

}  // namespace oscilane
