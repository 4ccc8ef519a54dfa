#include "settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <memory>

#include "buildconfig.h"
#include "ini_file.h"

namespace {

const char* const kSection = "RecentMemFiles";

std::string RecentKey(int i) { return "File" + std::to_string(i); }

// A stored integer, or `fallback` when the value is missing or not a number.
int StoredInt(const QSettings& store, const char* key, int fallback) {
  if (!store.contains(key)) return fallback;
  bool ok = false;
  const int value = store.value(key).toInt(&ok);
  return ok ? value : fallback;
}

std::string ReadWholeFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
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

static std::unique_ptr<QSettings> OpenStore(const QString& path, const QString& organisation,
                                            const QString& application) {
  if (path.isEmpty())
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       organisation, application);
  return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

StoredSettings Settings::Load(const BuildConfig& build) const {
  auto store = OpenStore(userStorePath_, organisation_, application_);
  StoredSettings s;
  s.comPort = BoundComPort(StoredInt(*store, "ComPort", kDefaultComPort));
  s.maxBdRate = BoundMaxBdRate(StoredInt(*store, "MaxBdRate", 0));
  const QVariant file = store->value("DefaultFile");
  s.defaultFile = BoundDefaultFile(
      file.canConvert<QString>() ? file.toString().toStdString() : std::string(), build);
  return s;
}

void Settings::Save(const StoredSettings& values) const {
  auto store = OpenStore(userStorePath_, organisation_, application_);
  store->setValue("ComPort", values.comPort);
  store->setValue("MaxBdRate", values.maxBdRate);
  store->setValue("DefaultFile", QString::fromStdString(values.defaultFile));
  store->sync();
}

RecentFiles Settings::LoadRecentFiles() const {
  const std::string text = ReadWholeFile(recentIniPath_);
  RecentFiles files;
  for (int i = 0; i < kRecentFileCount; ++i)
    files[i] = QString::fromStdString(
        Utf8Prefix(ReadIniValue(text, kSection, RecentKey(i)), kRecentFileMaxChars));
  return files;
}

void Settings::SaveRecentFiles(const RecentFiles& files) const {
  const QFileInfo target(recentIniPath_);
  if (makeRecentFolder_) QDir().mkpath(target.absolutePath());
  // Programs often live in folders their users cannot write to.
  if (!QFileInfo(target.absolutePath()).isWritable()) return;
  if (target.exists() && !target.isWritable()) return;
  std::string text = ReadWholeFile(recentIniPath_);
  for (int i = 0; i < kRecentFileCount; ++i)
    text = WriteIniValue(text, kSection, RecentKey(i), files[i].toStdString());
  QSaveFile out(recentIniPath_);
  if (!out.open(QIODevice::WriteOnly)) return;
  out.write(text.data(), static_cast<qint64>(text.size()));
  out.commit();
}
