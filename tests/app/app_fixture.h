#pragma once
// A main window built over fresh shared objects, with both settings stores,
// the working folder and the serial device folder in a temporary folder.
// Message boxes are answered by `boxes`; file dialogs by `chooser`.

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <deque>
#include <memory>

#include "appcontext.h"
#include "filechooser.h"
#include "frmmain.h"
#include "modal_answerer.h"

class ScriptedChooser : public FileChooser {
 public:
  QString Choose(QWidget*, const FileDialogRequest& request) override {
    requests.push_back(request);
    if (answers.empty()) return QString();
    QString path = answers.front();
    answers.pop_front();
    return path;
  }
  std::deque<QString> answers;  // empty string = the user cancelled
  std::vector<FileDialogRequest> requests;
};

class AppFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    oldCwd_ = QDir::currentPath();
    QDir::setCurrent(dir_.path());
  }
  void TearDown() override {
    window_.reset();
    context_.reset();
    shared_.reset();
    QDir::setCurrent(oldCwd_);
  }

  static BuildConfig Kestal() { return BuildConfig::ForFamily("Kestal", false); }

  QString Path(const QString& name) const { return dir_.filePath(name); }
  QString StorePath() const { return Path("user-store.ini"); }
  QString IniPath() const { return Path("kestal-programmer.ini"); }

  void Store(const char* key, const QVariant& value) {
    QSettings(StorePath(), QSettings::IniFormat).setValue(key, value);
  }
  QVariant Stored(const char* key) const {
    return QSettings(StorePath(), QSettings::IniFormat).value(key);
  }

  // Builds and shows the window and runs its start-up; returns the boxes
  // start-up showed.
  std::vector<SeenBox> Start(const BuildConfig& build = Kestal(),
                             std::vector<std::string> arguments = {}) {
    window_.reset();  // a second start replaces the first window whole
    context_.reset();
    shared_ = std::make_unique<SharedObjects>(build.productId);
    // No serial device exists under the temporary folder.
    shared_->port.Ports().SetRoots(Path("dev").toStdString(), Path("sys").toStdString());
    for (const std::string& device : extraDevices) shared_->port.Ports().AddExtraDevice(device);
    context_ = std::make_unique<AppContext>(AppContext{build, Settings(StorePath(), IniPath()),
                                                       *shared_, chooser, std::move(arguments),
                                                       sessionPort, floatingDisplaySwitch,
                                                       startFile});
    window_ = std::make_unique<TfrmMain>(*context_);
    window_->show();
    window_->StartUp();
    return boxes.Take();
  }
  // Closes the window (saving the settings) and destroys it (writing the
  // recent-files INI).
  void CloseWindow() {
    window_->close();
    window_.reset();
  }

  TfrmMain& Window() { return *window_; }
  QPushButton* Button(const char* name) { return window_->findChild<QPushButton*>(name); }
  QAction* Action(const char* name) { return window_->findChild<QAction*>(name); }


 public:
  // A 2048-byte image (or `size` bytes of one) with the given product ID
  // and a recognisable pattern after it.
  static QByteArray Image(uint16_t productId, int size = 2048) {
    QByteArray bytes(2048, '\0');
    bytes[0] = static_cast<char>(productId >> 8);
    bytes[1] = static_cast<char>(productId & 0xFF);
    for (int i = 2; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
    return bytes.left(size);
  }

 protected:
  void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  static QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  ModalAnswerer boxes;
  ScriptedChooser chooser;
  // Devices added to the port map (COM97 onwards) before the window starts,
  // and the port used for this run only.
  std::vector<std::string> extraDevices;
  int sessionPort = 0;
  bool floatingDisplaySwitch = false;  // "--floating-display"
  std::string startFile;               // a mem-file named on the command line

 private:
  QTemporaryDir dir_;
  QString oldCwd_;
  std::unique_ptr<SharedObjects> shared_;
  std::unique_ptr<AppContext> context_;
  std::unique_ptr<TfrmMain> window_;
};
