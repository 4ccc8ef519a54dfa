#include "settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <memory>

#include "buildconfig.h"
#include "userfile.h"

namespace {

// A stored integer, or `fallback` when the value is missing or not a number.
int StoredInt(const QSettings& store, const char* key, int fallback) {
  if (!store.contains(key)) return fallback;
  bool ok = false;
  const int value = store.value(key).toInt(&ok);
  return ok ? value : fallback;
}

// The text of a settings file, read without ever waiting on it; false
// when it is there but is no settings file (a FIFO, a device, a directory,
// far too large), which is then neither read nor replaced.
bool ReadSettingsFile(const QString& path, std::string& text) {
  UserFileError why;
  text.clear();
  return ReadUserFile(path.toStdString(), kMaxSettingsFileBytes, "a settings file", text, why) ||
         why.Missing();
}

}  // namespace

Settings::Settings(QString userStorePath, QString recentIniPath, bool makeRecentFolder)
    : userStorePath_(std::move(userStorePath)),
      recentIniPath_(std::move(recentIniPath)),
      makeRecentFolder_(makeRecentFolder) {}

QString RecentIniLocation(const QString& exePath, bool exeFolderWritable,
                      const QString& configFolder) {
  const QFileInfo exe(exePath);
  const QString name = exe.completeBaseName() + ".ini";
  const QString folder = QDir::cleanPath(exe.absolutePath());
  // Installed: in the system tree, or in some prefix's bin folder
  // (/usr/local/bin, ~/.local/bin, /opt/vorn/bin).
  const bool installed = folder == "/usr" || folder.startsWith("/usr/") ||
                         QFileInfo(folder).fileName() == "bin";
  if (exeFolderWritable && !installed) return folder + "/" + name;
  return QDir::cleanPath(configFolder + "/Vorn/" + name);
}

Settings Settings::ForApplication(const BuildConfig& build) {
  const QFileInfo exe(QCoreApplication::applicationFilePath());
  const QString recent =
      RecentIniLocation(exe.absoluteFilePath(), QFileInfo(exe.absolutePath()).isWritable(),
                    QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
  const bool besideProgram =
      QFileInfo(recent).absolutePath() == QDir::cleanPath(exe.absolutePath());
  Settings s(QString(), recent, !besideProgram);
  s.application_ = QString::fromStdString(build.modelName);
  return s;
}

// The per-user store's file: the one the desktop's native store keeps
// ("~/.config/Vorn/Kestal.conf"), named here so it can be checked before
// QSettings opens it.
QString Settings::StoreFile() const {
  if (!userStorePath_.isEmpty()) return userStorePath_;
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/" +
         organisation_ + "/" + application_ + ".conf";
}

// Nothing when the store's file is there but no settings file: QSettings
// would wait for ever on a FIFO.
std::unique_ptr<QSettings> Settings::OpenStore() const {
  const QString path = StoreFile();
  std::string text;
  if (!ReadSettingsFile(path, text)) return nullptr;
  return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

StoredSettings Settings::Load(const BuildConfig& build) const {
  StoredSettings s;
  auto store = OpenStore();
  if (!store) {
    s.defaultFile = BoundDefaultFile("", build);
    return s;
  }
  s.comPort = BoundComPort(StoredInt(*store, "ComPort", kDefaultComPort));
  s.maxBdRate = BoundMaxBdRate(StoredInt(*store, "MaxBdRate", 0));
  const QVariant file = store->value("DefaultFile");
  s.defaultFile = BoundDefaultFile(
      file.canConvert<QString>() ? file.toString().toStdString() : std::string(), build);
  return s;
}

void Settings::Save(const StoredSettings& values) const {
  auto store = OpenStore();
  if (!store) return;
  store->setValue("ComPort", values.comPort);
  store->setValue("MaxBdRate", values.maxBdRate);
  store->setValue("DefaultFile", QString::fromStdString(values.defaultFile));
  store->sync();
}

RecentFiles Settings::LoadRecentFiles() const {
  std::string text;
  ReadSettingsFile(recentIniPath_, text);
  const RecentFileNames names = RecentFilesFromIni(text);
  RecentFiles files;
  for (int i = 0; i < kRecentFileCount; ++i) files[i] = QString::fromStdString(names[i]);
  return files;
}

void Settings::SaveRecentFiles(const RecentFiles& files) const {
  const QFileInfo target(recentIniPath_);
  if (makeRecentFolder_) QDir().mkpath(target.absolutePath());
  // Programs often live in folders their users cannot write to.
  if (!QFileInfo(target.absolutePath()).isWritable()) return;
  if (target.exists() && !target.isWritable()) return;
  std::string text;
  if (!ReadSettingsFile(recentIniPath_, text)) return;
  RecentFileNames names;
  for (int i = 0; i < kRecentFileCount; ++i) names[i] = files[i].toStdString();
  text = RecentFilesIntoIni(text, names);
  std::string why;
  SaveUserFile(recentIniPath_.toStdString(), text.data(), text.size(), why);
}
