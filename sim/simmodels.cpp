#include "simmodels.h"

#include <cctype>
#include <cstdio>

#include "radioinfo.h"

namespace {
struct SimModel {
  const char* key;
  uint32_t productId;
  SimVersion version;
};

constexpr SimModel kSimModels[] = {
    {"merlo", kProductMerlo, {2, 0x10, 0}},  {"kestal", kProductKestal, {3, 0x00, 0}},
    {"pinto", kProductPinto, {1, 0x05, 0}},  {"dravo", kProductDravo, {2, 0x05, 0}},
    {"sorel", kProductSorel, {1, 0x02, 0}},  {"tamso", kProductTamso, {1, 0x10, 0}},
    {"kestal-bt", kProductKestalBT, {1, 0x00, 0}},
};

const SimModel* Find(uint32_t productId) {
  for (const SimModel& m : kSimModels) {
    if (m.productId == productId) return &m;
  }
  return nullptr;
}

std::string Lower(const std::string& s) {
  std::string out = s;
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// Up to two hexadecimal digits; false when empty, too long or not hex.
bool HexByte(const std::string& s, int& value) {
  if (s.empty() || s.size() > 2) return false;
  value = 0;
  for (char c : s) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    value = value * 16 + (std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10);
  }
  return true;
}
}  // namespace

bool ParseSimModel(const std::string& name, uint32_t& productId) {
  const std::string key = Lower(name);
  for (const SimModel& m : kSimModels) {
    if (key == m.key) {
      productId = m.productId;
      return true;
    }
  }
  return false;
}

std::string SimModelKey(uint32_t productId) {
  const SimModel* m = Find(productId);
  return m ? m->key : "";
}

SimVersion DefaultSimVersion(uint32_t productId) {
  const SimModel* m = Find(productId);
  return m ? m->version : SimVersion{1, 0, 0};
}

std::string DefaultFirmwareText(uint32_t productId) {
  int row = 0;
  uint32_t flag = 0;
  std::string name;
  if (!FindModel(productId, row, flag, name) || name.empty()) name = "Vorn";
  return (name + " UHF CB").substr(0, 16);
}

bool ParseSimVersion(const std::string& text, SimVersion& version) {
  std::string body = text;
  int suffix = 0;
  if (!body.empty() && std::islower(static_cast<unsigned char>(body.back()))) {
    suffix = body.back();
    body.pop_back();
  }
  const size_t dot = body.find('.');
  if (dot == std::string::npos) return false;
  std::string minorText = body.substr(dot + 1);
  if (minorText.size() == 1) minorText += '0';  // "3.0" is 3.00, "2.1" is 2.10
  SimVersion v;
  if (!HexByte(body.substr(0, dot), v.major) || !HexByte(minorText, v.minor)) return false;
  v.suffix = suffix;
  version = v;
  return true;
}

std::string SimVersionText(const SimVersion& version) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%X.%02X", version.major & 0xFF, version.minor & 0xFF);
  std::string text = buffer;
  if (version.suffix) text += static_cast<char>(version.suffix);
  return text;
}
