#include "panellayouts.h"

#include "panelmodels.h"
#include "radioinfo.h"

namespace {

// The Kestal and Merlo share one compact case: the keypad right of the LCD,
// "+" over "-", then two rows of four keys.
void CompactKeys(PanelLayout& l) {
  l.keys["btnChanUp"] = QRect(358, 24, 40, 34);
  l.keys["btnChanDown"] = QRect(358, 70, 40, 34);
  const char* rows[2][4] = {{"btnF1", "btnF2", "btnF3", "btnF4"},
                            {"btnA", "btnB", "btnCall", "btnPanelPTT"}};
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 4; ++c) l.keys[rows[r][c]] = QRect(410 + c * 38, 24 + r * 46, 34, 34);
}

PanelLayout Kestal() {
  PanelLayout l;
  l.picture = ":/panel/kestal.svg";
  l.lcd = QRect(128, 20, 214, 88);
  l.digitPixels = 66;
  l.iconPixels = 12;
  l.lcdLabels = {
      {"LCDChDigit1", QRect(4, 6, 42, 76)},    {"LCDChDigit2", QRect(46, 6, 42, 76)},
      {"LCDScan", QRect(94, 4, 42, 16)},       {"LCDM", QRect(140, 4, 18, 16)},
      {"LCDBusy", QRect(162, 4, 42, 16)},      {"LCDDup", QRect(94, 22, 32, 16)},
      {"LCDTx", QRect(130, 22, 24, 16)},       {"LCDSilent", QRect(158, 22, 16, 16)},
      {"LCDDCS", QRect(176, 22, 32, 16)},      {"LCDBluetooth", QRect(94, 40, 26, 16)},
      {"LCDPri", QRect(124, 40, 34, 16)},
  };
  // The signal meter: eight rising bars over eight scale marks.
  for (int i = 1; i <= 8; ++i) {
    const int x = 94 + (i - 1) * 14;
    const int h = 4 + 2 * i;
    l.lcdLabels[QString("LCDSigStrength%1").arg(i)] = QRect(x, 78 - h, 10, h);
    l.lcdLabels[QString("LCDSigStrength0%1").arg(i)] = QRect(x, 80, 10, 3);
  }
  CompactKeys(l);
  return l;
}

PanelLayout Merlo() {
  PanelLayout l;
  l.picture = ":/panel/merlo.svg";
  l.lcd = QRect(128, 20, 214, 88);
  l.digitPixels = 50;
  l.alphaPixels = 26;
  l.iconPixels = 11;
  l.lcdLabels = {
      {"LCDChDigit1", QRect(4, 4, 36, 58)},   {"LCDChDigit2", QRect(40, 4, 36, 58)},
      {"LCDScan", QRect(84, 4, 38, 16)},      {"LCDCallTo", QRect(124, 4, 22, 16)},
      {"LCDCallFrom", QRect(148, 4, 36, 16)}, {"LCDQ", QRect(188, 4, 18, 16)},
      {"LCDM", QRect(4, 66, 16, 16)},         {"LCDBusy", QRect(22, 66, 36, 16)},
      {"LCDDup", QRect(60, 66, 30, 16)},      {"LCDTx", QRect(92, 66, 22, 16)},
      {"LCDQuiet", QRect(116, 66, 14, 16)},   {"LCDSilent", QRect(132, 66, 14, 16)},
      {"LCDDCS", QRect(148, 66, 30, 16)},     {"LCDBluetooth", QRect(180, 66, 26, 16)},
  };
  for (int i = 1; i <= 5; ++i)
    l.lcdLabels[QString("LCDAlphaChar%1").arg(i)] = QRect(84 + (i - 1) * 24, 26, 22, 34);
  CompactKeys(l);
  return l;
}

// The DIN-sized Dravo: squelch keys left of the LCD, channel keys right of
// it, F1..F5 under it and A, B, call and PTT at the far right.
PanelLayout Dravo() {
  PanelLayout l;
  l.picture = ":/panel/dravo.svg";
  l.lcd = QRect(170, 30, 300, 112);
  l.digitPixels = 72;
  l.alphaPixels = 38;
  l.iconPixels = 14;
  l.lcdLabels = {
      {"LCDChDigit1", QRect(6, 6, 52, 82)},     {"LCDChDigit2", QRect(58, 6, 52, 82)},
      {"LCDScan", QRect(120, 6, 50, 20)},       {"LCDCallTo", QRect(174, 6, 30, 20)},
      {"LCDCallFrom", QRect(208, 6, 46, 20)},   {"LCDQ", QRect(260, 6, 22, 20)},
      {"LCDM", QRect(6, 90, 22, 20)},           {"LCDBusy", QRect(32, 90, 48, 20)},
      {"LCDDup", QRect(84, 90, 40, 20)},        {"LCDTx", QRect(128, 90, 30, 20)},
      {"LCDQuiet", QRect(162, 90, 20, 20)},     {"LCDSilent", QRect(186, 90, 20, 20)},
      {"LCDDCS", QRect(210, 90, 42, 20)},       {"LCDBluetooth", QRect(256, 90, 34, 20)},
  };
  for (int i = 1; i <= 5; ++i)
    l.lcdLabels[QString("LCDAlphaChar%1").arg(i)] = QRect(120 + (i - 1) * 34, 32, 32, 50);
  l.keys["btnSqlUp"] = QRect(114, 40, 44, 40);
  l.keys["btnSqlDown"] = QRect(114, 94, 44, 40);
  l.keys["btnChanUp"] = QRect(482, 40, 44, 40);
  l.keys["btnChanDown"] = QRect(482, 94, 44, 40);
  const char* fRow[5] = {"btnF1", "btnF2", "btnF3", "btnF4", "btnF5"};
  for (int c = 0; c < 5; ++c) l.keys[fRow[c]] = QRect(170 + c * 62, 154, 52, 34);
  l.keys["btnA"] = QRect(546, 40, 52, 34);
  l.keys["btnB"] = QRect(606, 40, 52, 34);
  l.keys["btnCall"] = QRect(546, 94, 52, 34);
  l.keys["btnPanelPTT"] = QRect(606, 94, 52, 34);
  return l;
}

PanelLayout Pinto() {
  PanelLayout l;
  l.picture = ":/panel/pinto.svg";
  return l;
}

}  // namespace

const PanelLayout& LayoutOf(const PanelModel& model) {
  static const PanelLayout kestal = Kestal(), merlo = Merlo(), dravo = Dravo(), pinto = Pinto();
  switch (model.productId) {
    case kProductMerlo: return merlo;
    case kProductDravo: return dravo;
    case kProductPinto: return pinto;
    default: return kestal;
  }
}
