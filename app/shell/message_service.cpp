#include "shell/message_service.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QThread>
#include <atomic>

#include "shell/message_texts.h"

namespace oscilane {
namespace {

class MessageBoxSink final : public MessageSink {
  public:
    void show(const Message& message) override {
        auto icon = message.kind == MessageKind::Information ? QMessageBox::Information
                    : message.kind == MessageKind::Warning   ? QMessageBox::Warning
                                                             : QMessageBox::Critical;
        QMessageBox box(icon, message.caption, message.text, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
    }
    bool ask(const Message& message, Answers answers) override {
        const bool yesNo = answers == Answers::YesNo;
        const QMessageBox::StandardButton first = yesNo ? QMessageBox::Yes : QMessageBox::Ok;
        const QMessageBox::StandardButton second = yesNo ? QMessageBox::No : QMessageBox::Cancel;
        QMessageBox box(yesNo ? QMessageBox::Question : QMessageBox::Warning, message.caption,
                        message.text, first | second, QApplication::activeWindow());
        return box.exec() == first;
    }
};

MessageBoxSink& boxSink() {
    static MessageBoxSink sink;
    return sink;
}

std::atomic<MessageSink*> installedSink{nullptr};

MessageSink& currentSink() {
    MessageSink* sink = installedSink.load();
    return sink ? *sink : boxSink();
}

}  // namespace

void showMessage(const Message& message) {
    MessageSink& sink = currentSink();
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        sink.show(message);
        return;
    }
    // A box may only be shown by the GUI thread; the caller waits as it would
    // for its own modal box.
    QMetaObject::invokeMethod(
        app, [&sink, &message] { sink.show(message); }, Qt::BlockingQueuedConnection);
}

void showMessage(const QString& text, MessageKind kind) {
    showMessage(Message{text, QString::fromLatin1(msg::kCaption), kind});
}

void postMessage(const QString& text, MessageKind kind) {
    Message message{text, QString::fromLatin1(msg::kCaption), kind};
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        currentSink().show(message);
        return;
    }
    // The sink is looked up when the message is shown, so a recorder that has
    // gone in the meantime is never called.
    QMetaObject::invokeMethod(
        app, [message] { currentSink().show(message); }, Qt::QueuedConnection);
}

bool askOkCancel(const QString& text) {
    return currentSink().ask(
        Message{text, QString::fromLatin1(msg::kCaption), MessageKind::Warning}, Answers::OkCancel);
}

bool askYesNo(const QString& text) {
    return currentSink().ask(
        Message{text, QString::fromLatin1(msg::kCaption), MessageKind::Warning}, Answers::YesNo);
}

MessageRecorder::MessageRecorder() : previous_(installedSink.exchange(this)) {}

MessageRecorder::~MessageRecorder() { installedSink.store(previous_); }

void MessageRecorder::show(const Message& message) {
    QMutexLocker lock(&mutex_);
    messages_.append(message);
}

bool MessageRecorder::ask(const Message& message, Answers) {
    show(message);
    return answer_;
}

QStringList MessageRecorder::texts() const {
    QMutexLocker lock(&mutex_);
    QStringList result;
    for (const Message& m : messages_) result.append(m.text);
    return result;
}

void MessageRecorder::clear() {
    QMutexLocker lock(&mutex_);
    messages_.clear();
}

}  // namespace oscilane
