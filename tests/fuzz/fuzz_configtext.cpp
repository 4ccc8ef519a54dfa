// The configuration text import under arbitrary files, as vornprog import
// and the window's "Import Text..." use it: a refused text leaves the
// image untouched and says why; an accepted one exports and imports back
// to the same bytes. The input's first 2048 bytes, taken as an image, must
// also come back byte for byte through export and import.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "configtext.h"
#include "eeprom.h"
#include "radioinfo.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

bool Same(const EEPROM& a, const EEPROM& b) {
  for (int i = 0; i < kImageSize; ++i)
    if (a.GetByte(i) != b.GetByte(i)) return false;
  return true;
}

// A base of one model, picked by the input so that templates of every
// model find their base over a run.
EEPROM Base(int row) {
  EEPROM image;
  for (int a = 0; a < kImageSize; ++a) image.SetByte(a, (a * 37 + row) & 0xFF);
  image.SetWord(0, static_cast<int>(ModelTableRow(row).productId));
  return image;
}

void CheckImport(const std::string& text, const EEPROM* base) {
  EEPROM out = base != nullptr ? *base : EEPROM();
  const EEPROM before = out;
  ConfigTextError error;
  if (!ImportConfigText(text, base, out, error)) {
    Check(Same(out, before));
    Check(!error.message.empty());
    Check(!error.Text("f").empty());
    return;
  }
  EEPROM again;
  ConfigTextError none;
  Check(ImportConfigText(ExportConfigText(out), nullptr, again, none));
  Check(Same(out, again));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckImport(text, nullptr);
  const EEPROM base = Base(1 + static_cast<int>(size % (kModelCount - 1)));
  CheckImport(text, &base);
  if (size >= static_cast<size_t>(kImageSize)) {
    EEPROM image;
    for (int a = 0; a < kImageSize; ++a) image.SetByte(a, data[a]);
    EEPROM back;
    ConfigTextError error;
    Check(ImportConfigText(ExportConfigText(image), nullptr, back, error));
    Check(Same(image, back));
  }
  return 0;
}
