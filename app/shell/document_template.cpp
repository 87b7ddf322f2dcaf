#include "shell/document_template.h"

#include <QStringList>

namespace oscilane {

QString DocumentTemplate::field(DocumentStringField which) const {
    const QStringList fields = documentString.split(QLatin1Char('\n'));
    const auto index = static_cast<qsizetype>(which);
    return index < fields.size() ? fields[index] : QString();
}

DocumentTemplate makeDocumentTemplate(int resourceId, const char* documentString,
                                      const char* namePattern, const char* category,
                                      const char* icon) {
    DocumentTemplate t;
    t.resourceId = resourceId;
    t.documentString = QString::fromLatin1(documentString);
    t.namePattern = QString::fromLatin1(namePattern);
    t.categoryName = QString::fromLatin1(category);
    t.iconPath = QString::fromLatin1(icon);
    t.menu = documentWindowMenu();
    return t;
}

}  // namespace oscilane
