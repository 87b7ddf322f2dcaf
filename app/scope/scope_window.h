// The scope document type's view and frame over the document's device
// connection.
#pragma once

class QWidget;

namespace oscilane {

class ChildFrame;
class Document;

QWidget* createScopeView(Document& document);
// `view` is the one createScopeView made.
ChildFrame* createScopeFrame(Document& document, QWidget* view);

}  // namespace oscilane
