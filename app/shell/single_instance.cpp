#include "shell/single_instance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace oscilane {
namespace {

const QByteArray kShowRequest = QByteArrayLiteral("show\n");
// A running instance may still be setting up its socket when a second one starts.
constexpr int kConnectBudgetMs = 3000;
constexpr int kRetryPauseMs = 50;
constexpr int kReplyBudgetMs = 1000;

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

bool SingleInstance::askRunningInstanceToShow() {
    QDeadlineTimer deadline(kConnectBudgetMs);
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(serverPath_);
        if (socket.waitForConnected(kRetryPauseMs)) break;
        if (deadline.hasExpired()) return false;
        QThread::msleep(kRetryPauseMs);
    }
    socket.write(kShowRequest);
    if (!socket.waitForBytesWritten(kReplyBudgetMs)) return false;
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::serveConnection() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        // A later start writes its request and leaves at once, so the request
        // may already be waiting when the connection is taken.
        auto readRequests = [this, socket] {
            while (socket->canReadLine())
                if (socket->readLine() == kShowRequest) emit showRequested();
        };
        connect(socket, &QLocalSocket::readyRead, this, readRequests);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        readRequests();
    }
}

}  // namespace oscilane
