// The generator document type's view and frame over the document's device
// connection, and its menu.
#pragma once

#include <QString>

#include "shell/menu_layout.h"

class QWidget;

namespace oscilane {

class ChildFrame;
class Document;
class OscilaneApp;

QWidget* createGeneratorView(Document& document);
// `view` is the one createGeneratorView made.
ChildFrame* createGeneratorFrame(Document& document, QWidget* view);

// An instrument window's menu whose File menu has "Save CSV" (the Save
// command, "Data" or "Picture") and "Open CSV", as the tool bar's buttons.
MenuBarLayout generatorWindowMenu();

// Whether the file starts as a generator CSV does ("#CLOCK=").
bool isGeneratorCsvFile(const QString& path);
// Loads a generator CSV into the active generator window, as its "Open CSV"
// does; without one it says where the file can be opened and opens nothing.
bool openGeneratorCsv(OscilaneApp& app, const QString& path);

}  // namespace oscilane
