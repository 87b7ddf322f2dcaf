#include "scope/up_down_buttons.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <tuple>

namespace oscilane {

UpDownButtons::UpDownButtons(const QString& name, Range range, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    const int up = range == Range::Rising ? 1 : -1;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const auto& [arrow, delta, suffix] :
         {std::tuple{Qt::UpArrow, up, "Up"}, std::tuple{Qt::DownArrow, -up, "Down"}}) {
        auto* button = new QToolButton(this);
        button->setObjectName(name + QLatin1String(suffix));
        button->setArrowType(arrow);
        button->setFixedSize(16, 11);
        connect(button, &QToolButton::clicked, this, [this, d = delta] { emit stepped(d); });
        layout->addWidget(button);
    }
}

}  // namespace oscilane
