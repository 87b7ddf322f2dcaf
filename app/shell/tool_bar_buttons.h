#pragma once

#include <functional>
#include <span>

class QAction;
class QString;
class QToolBar;

namespace oscilane {

// One button of a tool bar described as a table; command 0 is a separator.
struct ToolBarButton {
    int command;
    const char* text;  // shown as the button's tool tip
    const char* icon;  // resource path of its picture
};

inline constexpr int kToolBarButtonSize = 42;

// Fills the bar with the table's buttons in order. makeAction makes the
// action of each button from its command and text; the picture is set here.
// Qt greys the picture of a disabled button itself.
void addToolBarButtons(QToolBar& bar, std::span<const ToolBarButton> buttons,
                       const std::function<QAction*(int command, const QString& text)>& makeAction);

}  // namespace oscilane
