#include "buildconfig.h"

#include <cctype>
#include <sstream>

#include "radioinfo.h"

namespace {
struct Family {
  const char* option;
  uint32_t productId;  // kNoProductId for all models
};

constexpr Family kFamilies[] = {
    {"Kestal", kProductKestal}, {"Merlo", kProductMerlo}, {"Dravo", kProductDravo},
    {"Pinto", kProductPinto},   {"Sorel", kProductSorel}, {"Tamso", kProductTamso},
    {"KestalBT", kProductKestalBT}, {"All", kNoProductId},
};
}  // namespace

BuildConfig BuildConfig::ForFamily(const std::string& family, bool engineering,
                                   const std::string& buildDate, const std::string& buildTime) {
  BuildConfig c;
  c.engineering = engineering;
  c.buildDate = buildDate;
  c.buildTime = buildTime;
  for (const Family& f : kFamilies) {
    if (family != f.option) continue;
    c.productId = f.productId;
    if (f.productId == kNoProductId) {
      c.modelFlag = kAllModelsFlag;
      // The all-models service build names the family, not one radio.
      c.modelName = "Service";
    } else {
      int row = 0;
      std::string name;
      FindModel(f.productId, row, c.modelFlag, name);
      c.modelName = name;
    }
    break;
  }
  return c;
}

std::string ApplicationTitle(const BuildConfig& c) { return "Vorn " + c.modelName + " Programmer"; }

std::string TitleText(const BuildConfig& c) {
  return ApplicationTitle(c) + "  " + c.buildCode + (c.engineering ? "E" : "") + "." +
         c.majorVersion + "." + c.minorVersion + c.versionSuffix;
}

std::string ShortVersionText(const BuildConfig& c) {
  return "v" + c.majorVersion + "." + c.minorVersion + c.versionSuffix +
         (c.engineering ? " (Engineering)" : "");
}

std::string BuildDateText(const BuildConfig& c) { return c.buildDate + " " + c.buildTime; }

std::string VersionReport(const BuildConfig& c, const std::string& program) {
  std::string number = c.majorVersion + "." + c.minorVersion + c.versionSuffix;
  while (!number.empty() && number.back() == ' ') number.pop_back();
  // Streamed from whole literals: short texts appended to a string are
  // compiled into fragments of immediate data that lintian then reads as
  // misspelt words.
  std::ostringstream text;
  text << program << ' ' << number << (c.engineering ? " (Engineering)" : "") << '\n'
       << "Build model: " << (c.AllModels() ? std::string("all models") : c.modelName) << '\n'
       << "Build: " << c.buildCode << (c.engineering ? "E" : "") << '.' << number << ", "
       << BuildDateText(c) << '\n';
  return text.str();
}

std::string DefaultMemFileName(const BuildConfig& c) {
  if (c.AllModels()) return "";
  std::string lower;
  for (char ch : c.modelName)
    if (std::isalnum(static_cast<unsigned char>(ch)))
      lower += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return "def" + lower + ".mem";
}
