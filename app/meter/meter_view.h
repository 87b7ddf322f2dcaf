// The meter window's view: a placeholder that shows dashes where the
// reading will be.
#pragma once

#include <QWidget>

#include "shell/command_map.h"

namespace oscilane {

class Document;

class MeterView : public QWidget, public CommandTarget {
    Q_OBJECT
  public:
    explicit MeterView(Document& document);

    Document& document() const { return document_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Document& document_;
};

}  // namespace oscilane
