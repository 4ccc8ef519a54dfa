#include "firmware.h"

#include "buildconfig.h"
#include "memfile.h"
#include "radio.h"
#include "radioinfo.h"

FirmwareInfo ReadFirmwareInfo(TRadio& radio, TradioInfo& info, const BuildConfig& build) {
  FirmwareInfo out;
  char text[20];
  if (!radio.ReadFirmwareText(text, sizeof text)) return out;
  out.ok = true;
  out.radioType = radio.GetFirmwareText();

  // A failed read leaves its value empty rather than showing a number the
  // radio never sent, and selects no model from it.
  int productId = 0;
  if (radio.ReadProductId(productId)) {
    out.productId = HexId(static_cast<uint32_t>(productId));
    if (build.AllModels()) info.SelectModel(static_cast<uint32_t>(productId));
  }
  int pcbRev = 0;
  if (radio.ReadPcbRevision(pcbRev)) out.pcbRev = HexId(static_cast<uint32_t>(pcbRev));

  std::string version;
  out.firmware = radio.GetRadioVersion() && radio.GetVersionText(version) ? version : "n/a";
  return out;
}
