// The one way the application shows a message box.  In the application a
// modal box appears on the GUI thread (a caller on another thread waits for
// it); a test installs a MessageRecorder instead and reads what was shown.
#pragma once

#include <QList>
#include <QMutex>
#include <QString>

namespace oscilane {

enum class MessageKind { Information, Warning, Error };

struct Message {
    QString text;
    QString caption;
    MessageKind kind;
};

// The two answers a question offers; the first is the one ask() reports as true.
enum class Answers { OkCancel, YesNo };

class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void show(const Message& message) = 0;
    // A question; true when answered OK or Yes.
    virtual bool ask(const Message& message, Answers answers) = 0;
};

// Shows a message through the installed sink; safe to call from any thread.
void showMessage(const QString& text, MessageKind kind = MessageKind::Warning);
void showMessage(const Message& message);
// Like showMessage, but a caller off the GUI thread does not wait: the message
// is queued to the GUI thread and shown when its event loop gets to it.  For
// threads that must not stop while a box is up (a device worker holds its
// window's event for the whole cycle).
void postMessage(const QString& text, MessageKind kind = MessageKind::Warning);

// Asks an OK / Cancel question (GUI thread only); true when answered OK.
bool askOkCancel(const QString& text);
// Asks a Yes / No question (GUI thread only); true when answered Yes.
bool askYesNo(const QString& text);

// Collects messages instead of showing them, for as long as it lives.
class MessageRecorder final : public MessageSink {
  public:
    MessageRecorder();
    ~MessageRecorder() override;
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void show(const Message& message) override;
    // Records the question like a message and gives the answer set before.
    bool ask(const Message& message, Answers answers) override;
    void setAnswer(bool ok) { answer_ = ok; }
    QStringList texts() const;
    void clear();

  private:
    mutable QMutex mutex_;
    QList<Message> messages_;
    MessageSink* previous_;
    bool answer_ = false;
};

}  // namespace oscilane
