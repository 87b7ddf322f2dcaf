// The generator document type's view and frame over the document's device
// connection.
#pragma once

class QWidget;

namespace oscilane {

class ChildFrame;
class Document;

QWidget* createGeneratorView(Document& document);
// `view` is the one createGeneratorView made.
ChildFrame* createGeneratorFrame(Document& document, QWidget* view);

}  // namespace oscilane
