#include "singleinstance.h"

#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QRegularExpression>
#include <QStandardPaths>

#include "buildconfig.h"

namespace {
// One request a line: "raise", or "open " + the percent-encoded path (a
// file name may hold a line break).
const QByteArray kRaiseRequest = "raise\n";
const QByteArray kOpenRequest = "open ";
// Requests are a few hundred bytes; a peer that sends more without a line
// break is not another copy of this program.
constexpr qsizetype kMaxRequestBytes = 64 * 1024;
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

bool SingleInstance::RequestRaise(int timeoutMs) const { return Send(kRaiseRequest, timeoutMs); }

bool SingleInstance::RequestOpen(const QString& path, int timeoutMs) const {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  return Send(kOpenRequest + absolute.toUtf8().toPercentEncoding("/") + "\n", timeoutMs);
}

bool SingleInstance::Send(const QByteArray& request, int timeoutMs) const {
  QLocalSocket socket;
  socket.connectToServer(socketPath_);
  if (!socket.waitForConnected(timeoutMs)) return false;
  socket.write(request);
  bool sent = true;
  while (sent && socket.bytesToWrite() > 0) sent = socket.waitForBytesWritten(timeoutMs);
  socket.disconnectFromServer();
  return sent;
}

// Emitted from the event loop, not from inside the socket's handler: the
// receiver may show a modal question, and the socket may go meanwhile.
void SingleInstance::HandleRequest(const QByteArray& line) {
  if (line == kRaiseRequest.trimmed()) {
    QMetaObject::invokeMethod(this, &SingleInstance::raiseRequested, Qt::QueuedConnection);
  } else if (line.startsWith(kOpenRequest)) {
    const QString path =
        QString::fromUtf8(QByteArray::fromPercentEncoding(line.mid(kOpenRequest.size())));
    if (!path.isEmpty())
      QMetaObject::invokeMethod(
          this, [this, path] { emit openRequested(path); }, Qt::QueuedConnection);
  }
}

void SingleInstance::AcceptConnection() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      while (socket->canReadLine()) HandleRequest(socket->readLine().trimmed());
      if (socket->bytesAvailable() > kMaxRequestBytes) socket->abort();
    });
  }
}
