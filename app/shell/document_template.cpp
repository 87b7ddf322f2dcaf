#include "shell/document_template.h"

#include <QStringList>

namespace oscilane {

QString DocumentTemplate::field(DocumentStringField which) const {
    const QStringList fields = documentString.split(QLatin1Char('\n'));
    const auto index = static_cast<qsizetype>(which);
    return index < fields.size() ? fields[index] : QString();
}

}  // namespace oscilane
