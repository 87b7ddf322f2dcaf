#include "shell/child_frame.h"

#include <QCloseEvent>
#include <QIcon>
#include <QMainWindow>
#include <QMdiArea>

#include "shell/document.h"
#include "shell/document_template.h"

namespace oscilane {

ChildFrame::ChildFrame(Document& document, QWidget* view)
    : document_(document), view_(view), body_(new QMainWindow) {
    body_->setCentralWidget(view);
    setWidget(body_);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(document.title());
    setWindowIcon(QIcon(document.documentTemplate().iconPath));
    connect(&document, &Document::titleChanged, this, &QWidget::setWindowTitle);
    document.addFrame(this);
}

void ChildFrame::closeForGood() {
    closingForGood_ = true;
    close();
}

void ChildFrame::closeEvent(QCloseEvent* event) {
    if (closingForGood_) {
        QMdiSubWindow::closeEvent(event);
        return;
    }
    event->ignore();
    hide();
    // A hidden window must not stay the active one, or the menu bar and the
    // commands would still belong to it.
    QMdiArea* area = mdiArea();
    if (!area || area->activeSubWindow() != this) return;
    QMdiSubWindow* next = nullptr;
    for (QMdiSubWindow* w : area->subWindowList(QMdiArea::StackingOrder))
        if (w != this && w->isVisible()) next = w;
    area->setActiveSubWindow(next);
}

}  // namespace oscilane
