// Makes one instance of the application run per user session.  The first
// start holds a lock file in the user's runtime directory and listens on a
// local socket beside it; a later start finds the lock taken, asks the
// running instance to come to the front and ends.  A lock left by an
// instance that crashed is recognised by its dead process and taken over.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

namespace oscilane {

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    explicit SingleInstance(const QString& name, QObject* parent = nullptr);

    // True when this process is now the one instance and listens for later starts.
    bool acquire();
    // For a later start: asks the running instance to show itself; true when it was told.
    bool askRunningInstanceToShow();

    QString lockPath() const { return lockPath_; }
    QString serverPath() const { return serverPath_; }

  signals:
    void showRequested();

  private:
    void serveConnection();

    QString lockPath_;
    QString serverPath_;
    QLockFile lock_;
    QLocalServer server_;
};

}  // namespace oscilane
