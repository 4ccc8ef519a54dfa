#pragma once
// Where the programmer keeps its settings between runs: the per-user store
// (organisation "Vorn", application = model name: "ComPort", "MaxBdRate",
// "DefaultFile") and the INI file of recent mem-files beside the
// executable. Tests point both at a temporary folder.

#include <QString>
#include <array>

#include "settings_rules.h"

struct BuildConfig;

using RecentFiles = std::array<QString, kRecentFileCount>;

class Settings {
 public:
  // userStorePath: an INI file standing in for the per-user store; empty
  // means the desktop's native per-user store. recentIniPath: the file of
  // recent mem-files.
  Settings(QString userStorePath, QString recentIniPath);

  // The production stores for this build: the native per-user store and
  // the executable's own path with ".ini".
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
  QString organisation_ = "Vorn";
  QString application_ = "Kestal";
  QString userStorePath_;
  QString recentIniPath_;
};
