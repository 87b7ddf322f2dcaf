// The open documents as the document browser sees them: per type, an ordered
// list, addressed by type and index.
#pragma once

#include <QString>
#include <optional>

namespace oscilane {

class Document;

struct DocumentPlace {
    int type;
    int index;
};

class DocumentCatalog {
  public:
    virtual ~DocumentCatalog() = default;
    virtual Document* newDocument(int type) = 0;
    virtual std::optional<DocumentPlace> locate(const Document* document) const = 0;
    virtual void activateDocument(int type, int index) = 0;
    virtual void deleteDocument(int type, int index) = 0;
    virtual void retitleDocument(int type, int index, const QString& name) = 0;
};

}  // namespace oscilane
