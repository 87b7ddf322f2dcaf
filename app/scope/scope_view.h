// The scope window's view.  Until a window is connected to an instrument it
// shows the empty graticule: 12 by 8 divisions, grey on black.
#pragma once

#include <QWidget>

#include "shell/command_map.h"

namespace oscilane {

class Document;

class ScopeView : public QWidget, public CommandTarget {
    Q_OBJECT
  public:
    static constexpr int kDivisionsAcross = 12;
    static constexpr int kDivisionsDown = 8;

    explicit ScopeView(Document& document);

    Document& document() const { return document_; }
    // The grid inside the view's margins.
    QRect gridRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Document& document_;
};

}  // namespace oscilane
