#include "lcdview.h"

#include "panelmodels.h"

namespace {
std::string Shown(const std::string& c) {
  if (c.size() != 1) return " ";
  const unsigned char ch = static_cast<unsigned char>(c[0]);
  return ch >= 0x20 && ch <= 0x7E ? c : std::string(" ");
}
}  // namespace

const std::vector<LcdIcon>& LcdIcons() {
  static const std::vector<LcdIcon> icons = {
      {"LCDScan", "SCAN", &DisplaySnapshot::IsScanLit, true, true},
      {"LCDCallTo", "To", &DisplaySnapshot::IsCallToLit, false, true},
      {"LCDCallFrom", "From", &DisplaySnapshot::IsCallFromLit, false, true},
      {"LCDQ", "Q", &DisplaySnapshot::IsQLit, false, true},
      {"LCDM", "M", &DisplaySnapshot::IsMLit, true, true},
      {"LCDBusy", "Busy", &DisplaySnapshot::IsBusyLit, true, true},
      {"LCDDup", "Dup", &DisplaySnapshot::IsDupLit, true, true},
      {"LCDTx", "Tx", &DisplaySnapshot::IsTxLit, true, true},
      {"LCDQuiet", "Q", &DisplaySnapshot::IsQuietLit, false, true},
      {"LCDSilent", "S", &DisplaySnapshot::IsSilentLit, true, true},
      {"LCDDCS", "DCS", &DisplaySnapshot::IsDcsLit, true, true},
      {"LCDBluetooth", "BT", &DisplaySnapshot::IsBluetoothLit, true, true},
  };
  return icons;
}

std::vector<const LcdIcon*> IconsOf(const PanelModel& model) {
  std::vector<const LcdIcon*> out;
  if (!model.live) return out;
  for (const LcdIcon& icon : LcdIcons())
    if (model.alpha ? icon.merloDravo : icon.kestal) out.push_back(&icon);
  return out;
}

const std::vector<std::string>& DarkSegmentNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> n = {"LCDPri"};
    for (int i = 1; i <= 8; ++i) n.push_back("LCDSigStrength" + std::to_string(i));
    for (int i = 1; i <= 8; ++i) n.push_back("LCDSigStrength0" + std::to_string(i));
    return n;
  }();
  return names;
}

LcdView ViewOf(const TRadio& radio, const PanelModel& model) {
  return ViewOf(radio.Display(), model);
}

LcdView ViewOf(const DisplaySnapshot& radio, const PanelModel& model) {
  LcdView v;
  v.digits = {Shown(radio.GetChannelDigit1()), Shown(radio.GetChannelDigit2())};
  v.digitFlashing = {radio.IsChannelDigit1Flashing(), radio.IsChannelDigit2Flashing()};
  if (model.alpha) {
    for (int i = 0; i < 5; ++i) {
      v.alpha[i] = Shown(radio.GetAlphaChar(i + 1));
      v.alphaFlashing[i] = radio.IsAlphaCharFlashing(i + 1);
    }
  }
  for (const LcdIcon* icon : IconsOf(model)) v.iconLit.push_back((radio.*(icon->lit))());
  return v;
}

LcdColour BacklightOnOffColour(int backlight) { return backlight != 0 ? kLcdLime : kLcdGrey; }

LcdColour BacklightColourOf(const BacklightColour& colour) {
  return {(colour.red >> 2) & 0xFF, (colour.green >> 2) & 0xFF, (colour.blue >> 2) & 0xFF};
}
