// A document: its title, the frames that show it and the commands it handles.
// The title is the document's name, followed by " - SN: " and the serial
// number while it is connected to an instrument.
#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include "shell/command_map.h"

namespace oscilane {

class ChildFrame;
struct DocumentTemplate;

// What a connected document's title carries after its name.
inline constexpr const char* kSerialSeparator = " - SN: ";

class Document : public QObject, public CommandTarget {
    Q_OBJECT
  public:
    explicit Document(const DocumentTemplate& documentTemplate, QObject* parent = nullptr);

    const DocumentTemplate& documentTemplate() const { return template_; }
    QString title() const;
    const QString& name() const { return name_; }
    // A new name keeps the serial-number part of the title.
    void setName(const QString& name);
    void attachSerialNumber(const QString& serialNumber);
    void detachSerialNumber();

    const QList<ChildFrame*>& frames() const { return frames_; }
    void addFrame(ChildFrame* frame);

  signals:
    void titleChanged(const QString& title);

  private:
    const DocumentTemplate& template_;
    QString name_;
    QString serialNumber_;
    QList<ChildFrame*> frames_;
};

}  // namespace oscilane
