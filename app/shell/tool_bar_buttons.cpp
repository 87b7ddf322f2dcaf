#include "shell/tool_bar_buttons.h"

#include <QAction>
#include <QIcon>
#include <QToolBar>

namespace oscilane {

void addToolBarButtons(
    QToolBar& bar, std::span<const ToolBarButton> buttons,
    const std::function<QAction*(int command, const QString& text)>& makeAction) {
    bar.setIconSize(QSize(kToolBarButtonSize, kToolBarButtonSize));
    for (const ToolBarButton& b : buttons) {
        if (b.command == 0) {
            bar.addSeparator();
            continue;
        }
        QAction* action = makeAction(b.command, QString::fromLatin1(b.text));
        action->setIcon(QIcon(QString::fromLatin1(b.icon)));
        bar.addAction(action);
    }
}

}  // namespace oscilane
