// The generator document type's view and frame over the document's device
// connection, and its menu.
#pragma once

#include "shell/menu_layout.h"

class QWidget;

namespace oscilane {

class ChildFrame;
class Document;

QWidget* createGeneratorView(Document& document);
// `view` is the one createGeneratorView made.
ChildFrame* createGeneratorFrame(Document& document, QWidget* view);

// An instrument window's menu whose File menu has "Save CSV" (the Save
// command, "Data" or "Picture") and "Open CSV", as the tool bar's buttons.
MenuBarLayout generatorWindowMenu();

}  // namespace oscilane
