// Makes one instance of the application run per user session.  The first
// start holds a lock file in the user's runtime directory and listens on a
// local socket beside it; a later start finds the lock taken, hands its
// command line to the running instance, which acts on it and comes to the
// front, and ends.  A lock left by an instance that crashed is recognised by
// its dead process and taken over.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

namespace oscilane {

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    explicit SingleInstance(const QString& name, QObject* parent = nullptr);

    // True when this process is now the one instance and listens for later starts.
    bool acquire();
    // For a later start: hands the command line to the running instance.
    // True when it accepted it; otherwise false with the reason in *reason.
    bool forwardLaunch(const QStringList& arguments, QString* reason);

    // Decides on a forwarded command line: an empty text accepts it, any
    // other text is the reason for refusing it.  Without a handler every
    // command line is accepted and only brings the instance to the front.
    using LaunchHandler = std::function<QString(const QStringList& arguments)>;
    void setLaunchHandler(LaunchHandler handler) { launchHandler_ = std::move(handler); }

    QString lockPath() const { return lockPath_; }
    QString serverPath() const { return serverPath_; }

  signals:
    void showRequested();

  private:
    void serveConnection();
    // The reply line to one request line.
    QByteArray answer(const QByteArray& request);
    // A connected socket to the running instance, or none when none answers in time.
    bool connectToRunningInstance(class QLocalSocket& socket);

    QString lockPath_;
    QString serverPath_;
    QLockFile lock_;
    QLocalServer server_;
    LaunchHandler launchHandler_;
};

}  // namespace oscilane
