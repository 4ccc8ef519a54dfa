#include "singleinstance.h"

#include <unistd.h>

#include <QDir>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QStandardPaths>

#include "buildconfig.h"

namespace {
const QByteArray kRaiseRequest = "raise\n";
}

SingleInstance::SingleInstance(const QString& name, const QString& folder, QObject* parent)
    : QObject(parent),
      socketPath_(QDir(folder).filePath(name + ".sock")),
      lock_(QDir(folder).filePath(name + ".lock")) {
  // Only a dead holder makes the lock stale, never its age.
  lock_.setStaleLockTime(0);
  primary_ = lock_.tryLock(0);
  if (!primary_) {
    // Only a lock held by another copy means one is running. A folder the
    // lock cannot be made in must not keep the program from starting with
    // a false "already running"; it then runs unguarded.
    primary_ = lock_.error() != QLockFile::LockFailedError;
    guarded_ = false;
    return;
  }
  // A socket left by a crashed instance would make listen() fail.
  QLocalServer::removeServer(socketPath_);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::AcceptConnection);
  server_.listen(socketPath_);
}

SingleInstance::~SingleInstance() {
  if (!guarded_) return;
  server_.close();
  lock_.unlock();
}

QString SingleInstance::DefaultName(const BuildConfig& build) {
  QString model = QString::fromStdString(build.modelName);
  model.remove(QRegularExpression("[^A-Za-z0-9]"));
  return model + "Mutex-" + QString::number(getuid());
}

QString SingleInstance::DefaultFolder() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QDir(runtime).exists()) return runtime;
  return QDir::tempPath();
}

bool SingleInstance::RequestRaise(int timeoutMs) const {
  QLocalSocket socket;
  socket.connectToServer(socketPath_);
  if (!socket.waitForConnected(timeoutMs)) return false;
  socket.write(kRaiseRequest);
  const bool sent = socket.waitForBytesWritten(timeoutMs);
  socket.disconnectFromServer();
  return sent;
}

void SingleInstance::AcceptConnection() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (socket->readAll().contains(kRaiseRequest.trimmed())) emit raiseRequested();
    });
  }
}
