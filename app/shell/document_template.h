// What the shell knows of one document type: its resource string, naming,
// picture, menu and the factories of its document, frame and view.
#pragma once

#include <QString>
#include <functional>

#include "shell/menu_layout.h"

class QWidget;

namespace oscilane {

class ChildFrame;
class Document;

// Fields of a document string, which separates them with '\n'.
enum class DocumentStringField {
    WindowTitle,
    DocumentName,
    FileNewName,
    FilterName,
    FilterExtension,
    RegistryTypeId,
    RegistryTypeName,
};

struct DocumentTemplate {
    int resourceId = 0;
    QString documentString;
    QString namePattern;   // "%1" stands for the number of the new document
    QString categoryName;  // the document browser's item for the type
    QString iconPath;      // window, tool bar and browser picture of the type
    MenuBarLayout menu;
    // The document defaults to a plain one; the frame to a plain child frame.
    std::function<Document*(const DocumentTemplate&)> createDocument;
    std::function<QWidget*(Document&)> createView;
    std::function<ChildFrame*(Document&, QWidget* view)> createFrame;

    QString field(DocumentStringField which) const;
    QString titleFor(qsizetype number) const { return namePattern.arg(number); }
};

// A type with its resource string, naming, browser item and picture, and the
// plain document window's menu; the caller adds its factories.
DocumentTemplate makeDocumentTemplate(int resourceId, const char* documentString,
                                      const char* namePattern, const char* category,
                                      const char* icon);

}  // namespace oscilane
