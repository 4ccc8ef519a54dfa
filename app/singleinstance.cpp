#include "singleinstance.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QFile>

#include "buildconfig.h"
#include "localsocket.h"

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
  Listen();
}

SingleInstance::~SingleInstance() {
  if (!guarded_) return;
  while (!callers_.empty()) DropCaller(callers_.begin()->first);
  if (listener_ >= 0) {
    listening_.reset();
    close(listener_);
    QFile::remove(socketPath_);
  }
  lock_.unlock();
}

// Without a listener the guard still holds: a second copy is refused, it
// only cannot hand its request over.
void SingleInstance::Listen() {
  listener_ = ListenLocal(QFile::encodeName(socketPath_).toStdString());
  if (listener_ < 0) return;
  listening_ = std::make_unique<QSocketNotifier>(listener_, QSocketNotifier::Read);
  connect(listening_.get(), &QSocketNotifier::activated, this, &SingleInstance::AcceptConnections);
}

QString SingleInstance::DefaultName(const BuildConfig& build) {
  QString model = QString::fromStdString(build.modelName);
  model.remove(QRegularExpression("[^A-Za-z0-9]"));
  return model + "Mutex-" + QString::fromStdString(CurrentUserTag());
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
  return SendLocal(QFile::encodeName(socketPath_).toStdString(), request.toStdString(), timeoutMs);
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

void SingleInstance::AcceptConnections() {
  for (int fd = AcceptLocal(listener_); fd >= 0; fd = AcceptLocal(listener_)) {
    Caller& caller = callers_[fd];
    caller.notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(caller.notifier, &QSocketNotifier::activated, this,
            [this, fd] { ReadCaller(fd); });
  }
}

void SingleInstance::ReadCaller(int fd) {
  const auto found = callers_.find(fd);
  if (found == callers_.end()) return;
  QByteArray& pending = found->second.pending;
  char chunk[4096];
  for (;;) {
    int n = 0;
    const LocalRead state = ReadLocal(fd, chunk, sizeof chunk, n);
    if (state == LocalRead::kNothingYet) break;
    if (state == LocalRead::kEnded) {
      // The caller is done; a line cut short by it is not acted on.
      DropCaller(fd);
      return;
    }
    pending.append(chunk, n);
    for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n')) {
      HandleRequest(pending.left(end).trimmed());
      pending.remove(0, end + 1);
    }
    if (pending.size() > kMaxRequestBytes) {
      DropCaller(fd);
      return;
    }
  }
}

void SingleInstance::DropCaller(int fd) {
  const auto found = callers_.find(fd);
  if (found == callers_.end()) return;
  // Called from the notifier's own signal: it goes once that returns.
  found->second.notifier->setEnabled(false);
  found->second.notifier->deleteLater();
  callers_.erase(found);
  CloseLocal(fd);
}
