#include "radioprobe.h"

#include "portmap.h"
#include "radio.h"
#include "radioinfo.h"
#include "serialport.h"

namespace {
constexpr uint32_t kProbeBaud = 9600;
constexpr int kOpenSettleMs = 50;   // after opening, before the wake-up request
constexpr int kProbeSettleMs = 30;  // after the wake-up request, before the version
constexpr size_t kNameChars = 6;    // firmware text and model name compared this far
constexpr int kFirmwareTextBuffer = 20;

// The name the radio's firmware text must start with: the build product's
// row of the model table, else the build's own family name.
std::string BuildModelName(const BuildConfig& build) {
  int row = 0;
  uint32_t flag = 0;
  std::string name;
  if (FindModel(build.productId, row, flag, name) && row != 0) return name;
  return build.modelName;
}

// The answering radio's model by its product ID, else its firmware text.
std::string AnsweredModelName(const ProbeResult& result) {
  int row = 0;
  uint32_t flag = 0;
  std::string name;
  if (result.productIdRead && FindModel(static_cast<uint32_t>(result.productId), row, flag, name) &&
      row != 0)
    return name;
  if (result.firmwareRead && !result.firmwareText.empty()) return result.firmwareText;
  return "radio of an unknown model";
}
}  // namespace

bool FirmwareNamesModel(const std::string& firmware, const std::string& modelName) {
  const std::string prefix = modelName.substr(0, kNameChars);
  return !prefix.empty() && firmware.compare(0, prefix.size(), prefix) == 0;
}

ProbeResult ProbePort(SerialPort& port, TRadio& radio, int number, const BuildConfig& build) {
  return ProbeDevice(port, radio, PortMap::ComName(number), kProbeBaud, build);
}

ProbeResult ProbeDevice(SerialPort& port, TRadio& radio, const std::string& name, uint32_t baud,
                        const BuildConfig& build) {
  ProbeResult result;
  port.Close();
  if (!port.Open(name, baud)) return result;
  SleepMs(kOpenSettleMs);
  radio.ProbeRadio();  // wakes the radio; its answer is not needed
  SleepMs(kProbeSettleMs);
  if (!radio.GetRadioVersion()) return result;

  char text[kFirmwareTextBuffer];
  result.firmwareRead = radio.ReadFirmwareText(text, sizeof text);
  if (result.firmwareRead) result.firmwareText = radio.GetFirmwareText();
  result.hasVersion = radio.GetVersionText(result.versionText);
  result.productIdRead = radio.ReadProductId(result.productId);

  // The name test alone cannot tell a Kestal from a Kestal-BT, whose name
  // starts with the same six letters; the product ID can.
  const bool accepted =
      result.productIdRead && IsModelAccepted(static_cast<uint32_t>(result.productId), build.modelFlag);
  const bool named = build.AllModels() || FirmwareNamesModel(result.firmwareText, BuildModelName(build));
  result.verdict = accepted && named ? ProbeVerdict::kFound : ProbeVerdict::kOtherModel;
  return result;
}

std::vector<std::string> AnsweredRadioLines(int number, const ProbeResult& result) {
  return {"Radio found on " + PortMap::ComName(number),
          result.firmwareRead ? result.firmwareText : std::string("-"),
          "Firmware: " + (result.hasVersion ? result.versionText : std::string("n/a"))};
}

std::vector<std::string> OtherModelLines(int number, const ProbeResult& result, const BuildConfig& build) {
  return {"A " + AnsweredModelName(result) + " answered on " + PortMap::ComName(number) + ".",
          "This program is for the " + BuildModelName(build) + ": it cannot program that radio."};
}
