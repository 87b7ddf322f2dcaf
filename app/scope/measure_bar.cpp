#include "scope/measure_bar.h"

#include <QAction>
#include <QComboBox>
#include <QIcon>
#include <QSignalBlocker>
#include <QToolBar>
#include <QVBoxLayout>

#include "scope/measure_bar_table.h"
#include "shell/tool_bar_buttons.h"

namespace oscilane {
namespace {

QToolBar* makeBar(QWidget* parent) {
    auto* bar = new QToolBar(parent);
    bar->setIconSize(QSize(kToolBarButtonSize, kToolBarButtonSize));
    bar->setMovable(false);
    return bar;
}

}  // namespace

MeasureBar::MeasureBar(MeasureSet& measurements, QWidget* parent)
    : QWidget(parent),
      measurements_(measurements),
      first_(makeBar(this)),
      second_(makeBar(this)),
      channels_(new QComboBox(this)) {
    setWindowTitle(QString::fromLatin1(measurebar::kTitle));
    auto addButtons = [this](QToolBar* bar, std::span<const MeasureButton> buttons) {
        for (const MeasureButton& b : buttons) {
            if (b.command == 0) {
                bar->addSeparator();
                continue;
            }
            QAction* a =
                bar->addAction(QIcon(QString::fromLatin1(b.icon)), QString::fromLatin1(b.tooltip));
            a->setToolTip(QString::fromLatin1(b.tooltip));
            a->setData(b.command);
            const MeasureKind kind = b.kind;
            connect(a, &QAction::triggered, this, [this, kind] {
                measurements_.add(kind);
                emit measurementsChanged();
            });
        }
    };
    addButtons(first_, measurebar::kFirstBar);

    channels_->setObjectName(QStringLiteral("measureChannelList"));
    channels_->setProperty("command", measurebar::kChannelListCommand);
    for (const char* entry : measurebar::kChannelList)
        channels_->addItem(QString::fromLatin1(entry));
    channels_->setFixedWidth(measurebar::kChannelListWidth);
    channels_->setCurrentIndex(currentEntry());
    connect(channels_, &QComboBox::activated, this, &MeasureBar::chooseChannel);
    second_->addWidget(channels_);
    addButtons(second_, measurebar::kSecondBar);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
    layout->addWidget(first_);
    layout->addWidget(second_);
}

QAction* MeasureBar::action(int command) const {
    for (QToolBar* bar : {first_, second_})
        for (QAction* a : bar->actions())
            if (a->data().toInt() == command) return a;
    return nullptr;
}

void MeasureBar::chooseChannel(int entry) {
    if (entry == measurebar::kClearEntry) {
        const QSignalBlocker quiet(channels_);
        channels_->setCurrentIndex(currentEntry());
        measurements_.clear();
        emit measurementsChanged();
        return;
    }
    if (entry == measurebar::kOverlayEntry)
        measurements_.setCurrentOverlay();
    else
        measurements_.setCurrentChannel(entry);
}

int MeasureBar::currentEntry() const {
    return measurements_.currentIsOverlay() ? measurebar::kOverlayEntry
                                            : measurements_.currentChannel();
}

}  // namespace oscilane
