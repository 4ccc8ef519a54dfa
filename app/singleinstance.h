#pragma once
// Keeps one programmer running per user. The first instance holds a lock
// file and listens on a local socket beside it; a later instance finds the
// lock held and asks the first, through the socket, to bring its window
// forward, or hands it a mem-file to open.

#include <QByteArray>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <map>
#include <memory>

class QSocketNotifier;

struct BuildConfig;

class SingleInstance : public QObject {
  Q_OBJECT
 public:
  // name: the guard's name, unique per user; folder: where its lock and
  // socket live.
  SingleInstance(const QString& name, const QString& folder, QObject* parent = nullptr);
  ~SingleInstance() override;

  // "KestalMutex-<uid>" (the model's name + "Mutex-" + the user id).
  static QString DefaultName(const BuildConfig& build);
  // The user's runtime folder (XDG_RUNTIME_DIR), or the temporary folder.
  static QString DefaultFolder();

  // True for the instance that holds the guard, and for one that could
  // not set the guard up at all (nothing shows another copy is running).
  bool IsPrimary() const { return primary_; }
  // True when this instance holds the lock and listens for raise requests.
  bool IsGuarded() const { return guarded_; }
  // Asks the primary instance to show its window; true when it was told.
  bool RequestRaise(int timeoutMs = 2000) const;
  // Asks the primary instance to open a mem-file (made absolute here, as
  // the other instance has its own working folder); true when it was told.
  bool RequestOpen(const QString& path, int timeoutMs = 2000) const;

 signals:
  // The primary instance was asked to bring its window to the front.
  void raiseRequested();
  // The primary instance was handed a mem-file to open.
  void openRequested(const QString& path);

 private:
  // A caller's connection: what it sent so far, and its watcher.
  struct Caller {
    QSocketNotifier* notifier = nullptr;  // a child of the guard
    QByteArray pending;
  };

  void Listen();
  void AcceptConnections();
  void ReadCaller(int fd);
  void DropCaller(int fd);
  bool Send(const QByteArray& request, int timeoutMs) const;
  void HandleRequest(const QByteArray& line);

  QString socketPath_;
  QLockFile lock_;
  int listener_ = -1;
  std::unique_ptr<QSocketNotifier> listening_;
  std::map<int, Caller> callers_;
  bool primary_ = false;
  bool guarded_ = true;
};
