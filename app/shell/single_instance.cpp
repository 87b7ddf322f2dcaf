#include "shell/single_instance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace oscilane {
namespace {

// "launch " and the arguments as a base-64 JSON array, one line.
const QByteArray kLaunchRequest = QByteArrayLiteral("launch ");
const QByteArray kAccepted = QByteArrayLiteral("ok\n");
const QByteArray kRefused = QByteArrayLiteral("refused ");
// Long enough for a busy instance to take the request; it answers before
// it opens windows or contacts an instrument.
constexpr int kLaunchReplyBudgetMs = 10000;
// A request line longer than this is no request of ours.
constexpr qint64 kMaxRequestBytes = 64 * 1024;
// A running instance may still be setting up its socket when a second one starts.
constexpr int kConnectBudgetMs = 3000;
constexpr int kRetryPauseMs = 50;

QString runtimeDirectory() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return dir.isEmpty() ? QDir::tempPath() : dir;
}

}  // namespace

SingleInstance::SingleInstance(const QString& name, QObject* parent)
    : QObject(parent),
      lockPath_(QDir(runtimeDirectory()).filePath(name + QStringLiteral(".lock"))),
      serverPath_(QDir(runtimeDirectory()).filePath(name + QStringLiteral(".instance"))),
      lock_(lockPath_) {
    // A lock is stale only when its process is gone, however long it has been held.
    lock_.setStaleLockTime(0);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::serveConnection);
}

bool SingleInstance::acquire() {
    if (!lock_.tryLock(0)) return false;
    // A socket file left by a crashed instance is ours to replace now.
    QLocalServer::removeServer(serverPath_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    // Without the socket a later start cannot reach us, but this one still runs.
    server_.listen(serverPath_);
    return true;
}

bool SingleInstance::connectToRunningInstance(QLocalSocket& socket) {
    QDeadlineTimer deadline(kConnectBudgetMs);
    for (;;) {
        socket.connectToServer(serverPath_);
        if (socket.waitForConnected(kRetryPauseMs)) return true;
        if (deadline.hasExpired()) return false;
        QThread::msleep(kRetryPauseMs);
    }
}

bool SingleInstance::forwardLaunch(const QStringList& arguments, QString* reason) {
    QLocalSocket socket;
    if (!connectToRunningInstance(socket)) {
        *reason = QStringLiteral("no running Oscilane answers");
        return false;
    }
    const QByteArray encoded =
        QJsonDocument(QJsonArray::fromStringList(arguments)).toJson(QJsonDocument::Compact);
    socket.write(kLaunchRequest + encoded.toBase64() + '\n');
    QDeadlineTimer deadline(kLaunchReplyBudgetMs);
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || socket.state() != QLocalSocket::ConnectedState) {
            *reason = QStringLiteral("the running Oscilane did not answer");
            return false;
        }
        socket.waitForReadyRead(kRetryPauseMs);
    }
    const QByteArray reply = socket.readLine();
    socket.disconnectFromServer();
    if (reply == kAccepted) return true;
    *reason = reply.startsWith(kRefused)
                  ? QString::fromUtf8(reply.mid(kRefused.size()).trimmed())
                  : QStringLiteral("the running Oscilane gave no usable answer");
    return false;
}

QByteArray SingleInstance::answer(const QByteArray& request) {
    if (!request.startsWith(kLaunchRequest)) return {};
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray::fromBase64(request.mid(kLaunchRequest.size()).trimmed()));
    if (!document.isArray()) return kRefused + "malformed request\n";
    QStringList arguments;
    for (const QJsonValue& v : document.array()) arguments << v.toString();
    const QString refusal = launchHandler_ ? launchHandler_(arguments) : QString();
    if (!refusal.isEmpty()) return kRefused + refusal.toUtf8().replace('\n', ' ') + '\n';
    emit showRequested();
    return kAccepted;
}

void SingleInstance::serveConnection() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        // A later start writes its request and leaves at once, so the request
        // may already be waiting when the connection is taken.
        auto readRequests = [this, socket] {
            while (socket->canReadLine()) {
                if (const QByteArray reply = answer(socket->readLine()); !reply.isEmpty()) {
                    socket->write(reply);
                    socket->flush();
                }
            }
            // Whatever cannot be a request line is dropped with its connection.
            if (socket->bytesAvailable() > kMaxRequestBytes) socket->abort();
        };
        connect(socket, &QLocalSocket::readyRead, this, readRequests);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        readRequests();
    }
}

}  // namespace oscilane
