// The window of one document inside the main frame's MDI area.  Its body is a
// main window of its own, so a document type can add tool bars and docked
// bars around its view.  The close box only hides it: the document stays
// open and the document browser shows it again.
#pragma once

#include <QMdiSubWindow>

#include "shell/command_map.h"

class QMainWindow;

namespace oscilane {

class Document;

class ChildFrame : public QMdiSubWindow, public CommandTarget {
    Q_OBJECT
  public:
    ChildFrame(Document& document, QWidget* view);

    Document& document() const { return document_; }
    QWidget* view() const { return view_; }
    QMainWindow* body() const { return body_; }

    // Closes the frame for real, as deleting its document does.
    void closeForGood();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    Document& document_;
    QWidget* view_;
    QMainWindow* body_;
    bool closingForGood_ = false;
};

}  // namespace oscilane
