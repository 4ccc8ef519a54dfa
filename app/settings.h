#pragma once
// Where the programmer keeps its settings between runs: the per-user store
// (organisation "Vorn", application = model name: "ComPort", "MaxBdRate",
// "DefaultFile") and the INI file of recent mem-files beside the
// executable, or in the per-user configuration folder when the program is
// installed. Tests point both at a temporary folder.

#include <QString>
#include <array>
#include <memory>

#include "settings_rules.h"

struct BuildConfig;
class QSettings;

using RecentFiles = std::array<QString, kRecentFileCount>;

// Where the recent mem-files INI of the executable exePath lives: beside it
// ("<name>.ini") while its folder can be written and the program is not
// installed (under /usr or in a "bin" folder), otherwise
// "<configFolder>/Vorn/<name>.ini". An installed program's folder is
// shared with other programs even when root or its owner could write it.
QString RecentIniLocation(const QString& exePath, bool exeFolderWritable,
                      const QString& configFolder);

class Settings {
 public:
  // userStorePath: an INI file standing in for the per-user store; empty
  // means the desktop's native per-user store. recentIniPath: the file of
  // recent mem-files; makeRecentFolder: its folder is made when missing
  // (the per-user configuration folder, not a program's folder).
  Settings(QString userStorePath, QString recentIniPath, bool makeRecentFolder = false);

  // The production stores for this build: the native per-user store and
  // RecentIniLocation() of this executable and the user's XDG configuration
  // folder.
  static Settings ForApplication(const BuildConfig& build);

  // Reads the stored values, skipping missing or malformed ones, and
  // applies every bound and default.
  StoredSettings Load(const BuildConfig& build) const;
  void Save(const StoredSettings& values) const;

  // "File0".."File3" of [RecentMemFiles], each cut to 199 characters.
  RecentFiles LoadRecentFiles() const;
  // Writes the four entries back; silently skipped when the folder or the
  // file cannot be written.
  void SaveRecentFiles(const RecentFiles& files) const;

  const QString& UserStorePath() const { return userStorePath_; }
  const QString& RecentIniPath() const { return recentIniPath_; }

 private:
  QString StoreFile() const;
  std::unique_ptr<QSettings> OpenStore() const;

  QString organisation_ = "Vorn";
  QString application_ = "Kestal";
  QString userStorePath_;
  QString recentIniPath_;
  bool makeRecentFolder_ = false;
};
