// A view that lays out a fixed-size form measured in dialog units (a quarter
// of the average character width across, an eighth of the font height down),
// scrolled when the window is smaller than the form.
#pragma once

#include <QScrollArea>
#include <QSize>

#include "shell/command_map.h"

namespace oscilane {

class Document;

class FormView : public QScrollArea, public CommandTarget {
    Q_OBJECT
  public:
    FormView(Document& document, int formId, QSize dialogUnits);

    Document& document() const { return document_; }
    int formId() const { return formId_; }
    // The form's page, on which a document type places its controls.
    QWidget* form() const { return widget(); }

  private:
    Document& document_;
    int formId_;
};

// Pixels of a size in dialog units for a widget's font.
QSize dialogUnitsToPixels(const QWidget& widget, QSize dialogUnits);

}  // namespace oscilane
