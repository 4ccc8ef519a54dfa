#include "alignbindings.h"

#include <cstdint>

#include "alignmath.h"
#include "eeprom.h"
#include "radioinfo.h"

namespace {

// The stored byte of a parameter, 0 when the model lacks it.
int StoredByte(const EEPROM& image, const TradioInfo& info, Param parameter) {
  const int address = info.GetParamAddress(parameter);
  return address < 0 ? 0 : image.GetByte(address);
}

}  // namespace

const std::vector<AlignBinding>& AlignBindings() {
  static const std::vector<AlignBinding> kBindings = [] {
    std::vector<AlignBinding> b = {
        {"udPLL_Freq", "editPLL_Freq", "PLL FRef", 0, 255, true},
        {"udTempCo", "editTempCo", "Xtl Temp Co", 0, 255, true},
        {"udTempCoB", "editTempCoB", "Xtl Temp Co2", 0, 255, true},
        {"udRxOffset", "editRxOffset", "Rx ADC Offset", -128, 127, false, AlignScale::kSignedByte},
        {"udRfPowerHi", "editRfPowerHi", "RF Power Hi", 0, 255, true},
        {"udRfPowerLo", "editRfPowerLo", "RF Power Lo", 0, 255, true},
    };
    // The receiver grid: the digit after "Freq" is the column F1..F3, the
    // digit after "T" the row T1..T4 (T4 is the notch).
    struct GridCell {
      const char* upDown;
      const char* edit;
      Param parameter;
    };
    static constexpr GridCell kGrid[3][4] = {
        {{"udTuneFreq1T1", "txtTuneFreq1T1", "T1-F1"}, {"udTuneFreq1T2", "txtTuneFreq1T2", "T2-F1"},
         {"udTuneFreq1T3", "txtTuneFreq1T3", "T3-F1"}, {"udTuneFreq1T4", "txtTuneFreq1T4", "T4-F1"}},
        {{"udTuneFreq2T1", "txtTuneFreq2T1", "T1-F2"}, {"udTuneFreq2T2", "txtTuneFreq2T2", "T2-F2"},
         {"udTuneFreq2T3", "txtTuneFreq2T3", "T3-F2"}, {"udTuneFreq2T4", "txtTuneFreq2T4", "T4-F2"}},
        {{"udTuneFreq3T1", "txtTuneFreq3T1", "T1-F3"}, {"udTuneFreq3T2", "txtTuneFreq3T2", "T2-F3"},
         {"udTuneFreq3T3", "txtTuneFreq3T3", "T3-F3"}, {"udTuneFreq3T4", "txtTuneFreq3T4", "T4-F3"}},
    };
    for (const auto& column : kGrid)
      for (const GridCell& cell : column)
        b.push_back({cell.upDown, cell.edit, cell.parameter, 0, 255, true});
    b.push_back({"udSqlSens", "edtSqlSens", "Sql K", -80, 80, false, AlignScale::kSqlSensitivity});
    b.push_back({"udS1", "editS1", "S1 Cal", 0, 255, true});
    b.push_back({"udS10", "editS10", "S10 Cal", 0, 255, true});
    return b;
  }();
  return kBindings;
}

const AlignBinding* AlignBindingOf(const std::string& upDown) {
  for (const AlignBinding& b : AlignBindings())
    if (upDown == b.upDown) return &b;
  return nullptr;
}

int AlignPositionOfByte(const AlignBinding& binding, int byte) {
  switch (binding.scale) {
    case AlignScale::kSignedByte:
      return SignedByte(byte);
    case AlignScale::kSqlSensitivity:
      return SqlSensitivityOfByte(byte);
    case AlignScale::kByte:
      break;
  }
  return byte;
}

std::vector<int> AlignPositions(const EEPROM& image, const TradioInfo& info) {
  std::vector<int> positions;
  for (const AlignBinding& b : AlignBindings())
    positions.push_back(AlignPositionOfByte(b, StoredByte(image, info, b.parameter)));
  return positions;
}

MicGainPositions AlignMicGainPositions(const EEPROM& image, const TradioInfo& info) {
  return {MicGainOfByte(StoredByte(image, info, "Mic Gain")),
          MicGainOfByte(StoredByte(image, info, "Mic Gain Rear"))};
}

std::vector<std::string> AlignHelpLines(AlignHelp group, uint32_t productId) {
  switch (group) {
    case AlignHelp::kDeviation:
      return {"To set deviation:",
              "- select 1kHz Test Tone: adjust modulation to achieve 3kHz/1.5kHz deviation",
              "- uncheck BAL tracks MOD, select 50Hz Test Tone: adjust balance to achieve "
              "3kHz/1.5kHz deviation"};
    case AlignHelp::kTrackMod:
      return {"Balance tracks modulation"};
    case AlignHelp::kRfPower:
      if (TradioInfo::HasLowPowerAlign(productId))
        return {"To set Low transmit power:",
                "- set radio to LO power, select PTT and adjust 1W value to achieve 1W measured "
                "power",
                "To set High transmit power:",
                "- set radio to HI power, select PTT and adjust 5W value to achieve 5W measured "
                "power"};
      return {"To set transmit power:",
              "- select PTT and adjust 5W value to achieve 5W measured power"};
    case AlignHelp::kReceiver: {
      std::vector<std::string> lines = {
          "To tune receiver:", "- select alignment frequency",
          "- enable A/D polling of RSSI and Noise volts",
          "- adjust the corresponding T1, T2, T3 value for maximum RSSI at -90dBm at the "
          "alignment frequency"};
      if (TradioInfo::HasNotchAlign(productId))
        lines.push_back(
            "- adjust the notch value for minimum RSSI with input signal of -50dBm at the "
            "alignment frequency - 77.7MHz");
      return lines;
    }
    case AlignHelp::kSquelch:
      return {"Squelch threshold level calibration:", "- set SQL level to 3",
              "- set input signal to -121 dBm",
              "- if the speaker is unmuted, decrease the Squelch Sensitivity value until the "
              "speaker is muted",
              "- increase the Squelch Sensitivity value until the speaker is unmuted"};
    case AlignHelp::kFrequency:
      return {"Transmit:", "- adjust transmit frequency +/- 100Hz", "Receive:",
              "- connect -73dBm source to antenna; click Auto Adjust"};
    case AlignHelp::kNone:
      break;
  }
  return {};
}
