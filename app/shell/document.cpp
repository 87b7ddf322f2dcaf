#include "shell/document.h"

#include "shell/child_frame.h"
#include "shell/document_template.h"

namespace oscilane {

Document::Document(const DocumentTemplate& documentTemplate, QObject* parent)
    : QObject(parent),
      template_(documentTemplate),
      name_(documentTemplate.field(DocumentStringField::DocumentName)) {}

QString Document::title() const {
    if (serialNumber_.isEmpty()) return name_;
    return name_ + QLatin1String(kSerialSeparator) + serialNumber_;
}

void Document::setName(const QString& name) {
    name_ = name;
    emit titleChanged(title());
}

void Document::attachSerialNumber(const QString& serialNumber) {
    serialNumber_ = serialNumber;
    emit titleChanged(title());
}

void Document::detachSerialNumber() {
    serialNumber_.clear();
    emit titleChanged(title());
}

void Document::addFrame(ChildFrame* frame) {
    frames_.append(frame);
    connect(frame, &QObject::destroyed, this, [this, frame] { frames_.removeAll(frame); });
}

}  // namespace oscilane
