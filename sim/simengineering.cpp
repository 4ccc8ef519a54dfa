// Engineering and alignment sub-commands (command 52). Replies carry a
// status byte at [1] whose bit 0 reports a failure, then the results;
// the audio samples reply is the exception, its samples start at [1].

#include <algorithm>
#include <cmath>

#include "radioprotocol.h"
#include "simradiocore.h"

namespace {
constexpr uint8_t kEngOk = 0x00;
constexpr uint8_t kEngFailed = 0x01;

// A/D channels: 1 battery (about 13.8 V), 2 temperature, 4 RSSI, 5 noise
// volts. With a carrier present RSSI rises and the noise falls.
constexpr int kAdcIdle[8] = {0x80, 0xB4, 0x6E, 0x80, 0x18, 0xC8, 0x80, 0x00};
constexpr int kRssiSignal = 0x9C;
constexpr int kNoiseSignal = 0x28;

// The receiver's true frequency offset, in "Rx ADC Offset" steps of
// 50 Hz: the frequency error reads 50 Hz per step away from it, so the
// programmer's automatic adjustment lands on it.
constexpr int kTrueRxOffset = 3;
constexpr int kHzPerOffsetStep = 50;

// Alignment frequencies F1..F3 in 12.5 kHz steps (450, 477, 504 MHz).
constexpr int kAlignSteps[3] = {36000, 38160, 40320};
// Where each tuning value T1..T4 peaks at F1; each later frequency adds 7.
constexpr int kAlignPeak[4] = {0x62, 0x8A, 0x75, 0x40};

constexpr int kSampleRate = 8000;
constexpr double kFullDeviation = 8000.0;
constexpr double kPi = 3.14159265358979323846;

int AlignmentColumn(int pllSteps) {
  if (pllSteps == 0) return 1;  // on a CB channel, nearest to 477 MHz
  int best = 0;
  for (int f = 1; f < 3; ++f) {
    if (std::abs(pllSteps - kAlignSteps[f]) < std::abs(pllSteps - kAlignSteps[best])) best = f;
  }
  return best;
}
}  // namespace

const SimRadioCore::CommandRow* SimRadioCore::FindEngineering(uint8_t sub) {
  // Lengths count the opcode byte and the sub-command.
  static const CommandRow kRows[] = {
      {ENG_PEEK, 4, &SimRadioCore::Peek},
      {ENG_READ_ADC, 3, &SimRadioCore::ReadAdc},
      {ENG_POKE, 6, &SimRadioCore::Poke},
      {ENG_TX_TONE, 3, &SimRadioCore::TxTone},
      {ENG_CTCSS_TONE, 3, &SimRadioCore::CtcssTone},
      {ENG_WRITE_LCD, 12, &SimRadioCore::WriteLcd},
      {ENG_SQUELCH_OPEN, 3, &SimRadioCore::SquelchOpen},
      {ENG_PLL_FREQUENCY, 4, &SimRadioCore::PllFrequency},
      {ENG_AUTO_ALIGN, 6, &SimRadioCore::AutoAlign},
      {ENG_BEEP_TONE, 4, &SimRadioCore::BeepTone},
      {ENG_AUDIO_SAMPLES, 3, &SimRadioCore::AudioSamples},
      {ENG_FREQUENCY_ERROR, 2, &SimRadioCore::FrequencyError},
      {ENG_AFC, 3, &SimRadioCore::AfcMode},
  };
  for (const CommandRow& row : kRows) {
    if (row.command == sub) return &row;
  }
  return nullptr;
}

bool SimRadioCore::Engineering(const uint8_t* r, int n, std::vector<uint8_t>& out) {
  const CommandRow* row = FindEngineering(r[1]);
  return row && n >= row->length && (this->*row->handler)(r, n, out);
}

bool SimRadioCore::Peek(const uint8_t* r, int, std::vector<uint8_t>& out) {
  const int a = r[2] << 8 | r[3];
  out.insert(out.end(), {kEngOk, r[2], r[3], ram[static_cast<size_t>(a)]});
  return true;
}

bool SimRadioCore::Poke(const uint8_t* r, int, std::vector<uint8_t>& out) {
  uint8_t& cell = ram[static_cast<size_t>(r[2] << 8 | r[3])];
  cell = static_cast<uint8_t>((cell & ~r[5]) | (r[4] & r[5]));
  out.push_back(kEngOk);
  return true;
}

int SimRadioCore::AdcValue(int channel) const {
  if (state.signal && channel == 4) return kRssiSignal;
  if (state.signal && channel == 5) return kNoiseSignal;
  return kAdcIdle[channel];
}

// Channels above 7 do not exist: the status byte says so.
bool SimRadioCore::ReadAdc(const uint8_t* r, int, std::vector<uint8_t>& out) {
  const int channel = r[2];
  const bool exists = channel < 8;
  out.push_back(exists ? kEngOk : kEngFailed);
  out.push_back(static_cast<uint8_t>(channel & 7));
  out.push_back(static_cast<uint8_t>(exists ? AdcValue(channel) : 0));
  return true;
}

bool SimRadioCore::FrequencyError(const uint8_t*, int, std::vector<uint8_t>& out) {
  const int offset = static_cast<int8_t>(memory.GetByte(ParamAddress("Rx ADC Offset")) & 0xFF);
  int error = kHzPerOffsetStep * (offset - kTrueRxOffset);
  if (state.afc) error /= 8;  // the loop pulls most of it in
  const auto v = static_cast<uint16_t>(static_cast<int16_t>(error));
  out.insert(out.end(), {kEngOk, static_cast<uint8_t>(v & 0xFF), static_cast<uint8_t>(v >> 8)});
  return true;
}

// The transmitter's modulator seen through its A/D: the test tone at the
// deviation "Mod" sets (12 = 0 dB, each step 0.5 dB), silence without one.
bool SimRadioCore::AudioSamples(const uint8_t* r, int, std::vector<uint8_t>& out) {
  const int count = std::min(static_cast<int>(r[2]), kMaxAudioSamples);
  const int mod = std::min(memory.GetByte(ParamAddress("Mod")) & 0xFF, 24);
  const double amplitude = kFullDeviation * std::pow(10.0, (12 - mod) * 0.5 / 20.0);
  const double hz = state.txTone == 16 ? 1000.0 : state.txTone == 17 ? 50.0 : 0.0;
  for (int i = 0; i < count; ++i) {
    const double s = hz > 0 ? amplitude * std::sin(2 * kPi * hz * i / kSampleRate) : 0.0;
    const auto v = static_cast<uint16_t>(static_cast<int16_t>(std::lround(s)));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v & 0xFF));
  }
  return true;
}

bool SimRadioCore::TxTone(const uint8_t* r, int, std::vector<uint8_t>& out) {
  state.txTone = r[2];
  out.push_back(kEngOk);
  return true;
}

bool SimRadioCore::CtcssTone(const uint8_t* r, int, std::vector<uint8_t>& out) {
  state.ctcssTone = r[2];
  out.push_back(kEngOk);
  return true;
}

// Two digits, five characters, icons low and high, flashing flags: the
// LCD shows them until the radio is reset.
bool SimRadioCore::WriteLcd(const uint8_t* r, int, std::vector<uint8_t>& out) {
  std::copy(r + 2, r + 12, state.lcd.begin());
  state.lcdOverride = true;
  out.push_back(kEngOk);
  return true;
}

bool SimRadioCore::SquelchOpen(const uint8_t* r, int, std::vector<uint8_t>& out) {
  state.squelchForced = r[2] != 0;
  out.push_back(kEngOk);
  return true;
}

bool SimRadioCore::PllFrequency(const uint8_t* r, int, std::vector<uint8_t>& out) {
  state.pllSteps = r[2] << 8 | r[3];
  out.push_back(kEngOk);
  return true;
}

bool SimRadioCore::BeepTone(const uint8_t* r, int, std::vector<uint8_t>& out) {
  state.beepHz = r[2] << 8 | r[3];
  out.push_back(kEngOk);
  return true;
}

// Sweeps each chosen tuning value from start to stop in steps and keeps
// the step nearest its peak, at the alignment frequency the radio is on.
bool SimRadioCore::AutoAlign(const uint8_t* r, int, std::vector<uint8_t>& out) {
  const int mask = r[2], start = r[3], stop = r[4], step = r[5];
  if (step == 0 || start > stop) return false;
  const int column = AlignmentColumn(state.pllSteps);
  static constexpr Param kNames[3][4] = {{"T1-F1", "T2-F1", "T3-F1", "T4-F1"},
                                           {"T1-F2", "T2-F2", "T3-F2", "T4-F2"},
                                           {"T1-F3", "T2-F3", "T3-F3", "T4-F3"}};
  for (int t = 0; t < 4; ++t) {
    const int a = ParamAddress(kNames[column][t]);
    if (!(mask & (1 << t)) || a < 0) continue;
    const int peak = std::clamp(kAlignPeak[t] + 7 * column, start, stop);
    int best = start;
    for (int v = start; v <= stop; v += step) {
      if (std::abs(v - peak) < std::abs(best - peak)) best = v;
    }
    memory.SetByte(a, best);
  }
  out.push_back(kEngOk);
  return true;
}

// One byte of mode bits: 1 AFC on, 2 wideband (AFC on, until reset),
// 4 low power. The programmer sends 0 both for "AFC off" and for "high
// power", so 0 clears both.
bool SimRadioCore::AfcMode(const uint8_t* r, int, std::vector<uint8_t>& out) {
  const int v = r[2];
  if (v == 0) {
    state.afc = false;
    state.lowPower = false;
  }
  if (v & 3) state.afc = true;
  if (v & 2) state.wideband = true;
  if (v & 4) state.lowPower = true;
  out.push_back(kEngOk);
  return true;
}
