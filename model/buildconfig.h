#pragma once
// What one build of the programmer is for: the model family it programs,
// whether it is an engineering build, and its version constants. Windows
// and flows receive this value at construction, so one binary can build
// windows for any model in tests.

#include <cstdint>
#include <string>

struct BuildConfig {
  uint32_t modelFlag = 1;          // one model flag, or 127 for all models
  bool engineering = false;
  uint32_t productId = 0x5A02;     // 0xffff when no model is fixed
  std::string modelName = "Kestal";
  std::string buildCode = "QP0417";
  std::string majorVersion = "2";
  std::string minorVersion = "00";
  char versionSuffix = ' ';
  std::string buildDate = "Feb 24 2014";
  std::string buildTime = "09:29:13";

  // family: Kestal, Merlo, Dravo, Pinto, Sorel, Tamso, KestalBT or All.
  // An unknown family gives the Kestal.
  static BuildConfig ForFamily(const std::string& family, bool engineering,
                               const std::string& buildDate = "Feb 24 2014",
                               const std::string& buildTime = "09:29:13");

  bool AllModels() const { return modelFlag == 127; }
};

// The configuration this binary was compiled for.
const BuildConfig& CompiledBuildConfig();

// "Vorn Kestal Programmer  QP0417.2.00 " ("E" after the code when engineering).
std::string TitleText(const BuildConfig& c);
// "v2.00 " (+ " (Engineering)").
std::string ShortVersionText(const BuildConfig& c);
// "Feb 24 2014 09:29:13".
std::string BuildDateText(const BuildConfig& c);
// The application title used for the single-instance guard and captions.
std::string ApplicationTitle(const BuildConfig& c);
// What --version prints for one of the programs: its name and version,
// then the model it is built for and the build code, date and time.
std::string VersionReport(const BuildConfig& c, const std::string& program);
// "defkestal.mem"; empty for an all-models build.
std::string DefaultMemFileName(const BuildConfig& c);
