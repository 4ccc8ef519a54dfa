#pragma once
// The alignment bench without its window: the state of one showing
// (offline or not, transmitting, the radio's status byte, the "Mod" and
// "Bal" steps) and every radio procedure the window runs, each reporting
// its action lines through the log. Standard library only; the window
// only binds controls to it.

#include <functional>
#include <optional>
#include <string>

#include "alignmath.h"
#include "params.h"

class EEPROM;
class TRadio;
class TradioInfo;
struct BuildConfig;

// Test tone codes of SetTxTone.
inline constexpr int kToneOneKilohertz = 16;
inline constexpr int kToneFiftyHertz = 17;
inline constexpr int kToneOff = 15;

// PTT values: receive, transmit on the internal or external microphone.
inline constexpr int kPttOff = 0;
inline constexpr int kPttInternal = 1;
inline constexpr int kPttExternal = 2;

struct AlignLog {
  std::function<void()> clear;
  std::function<void(const std::string&)> add;
};

struct AdReading {
  std::string noise;
  std::string rssi;
  bool ok = false;
};

enum class AutoAdjustOutcome { kNoSignal, kTooFewSamples, kAdjusted };
struct AutoAdjustResult {
  AutoAdjustOutcome outcome = AutoAdjustOutcome::kNoSignal;
  int average = 0;    // Hz, shown whenever sampling ran
  int newOffset = 0;  // after kAdjusted
};

struct SMeterResult {
  bool complete = false;  // all reads and the write succeeded
  std::optional<int> value;  // the average, when all reads succeeded
};

class AlignBench {
 public:
  AlignBench(TRadio& radio, EEPROM& image, const TradioInfo& info, const BuildConfig& build);

  void SetLog(AlignLog log) { log_ = std::move(log); }

  // A new showing: offline starts on channel 1 with a closed squelch;
  // online asks the radio for its channel and status.
  void Open(bool offline);
  bool Offline() const { return offline_; }
  int Status() const { return status_; }
  bool Busy() const { return (status_ & 1) != 0; }
  int Channel() const;
  int RawChannel() const;
  // The channel panel for the current channel.
  const ChannelView& RefreshView();
  const ChannelView& View() const { return view_; }

  // Channel panel. Failures are reported as action lines.
  void Step(bool up);
  void ReturnToChannel();
  void TuneAlignmentFrequency(int index);  // 0..2
  // value: kPttOff, kPttInternal or kPttExternal.
  void SetPtt(int value);
  bool Transmitting() const { return transmitting_; }
  void ToggleSquelch();
  void SetTestTone(int code);
  void SelectPower(bool low);
  // What "Close" sends before the window closes (online only).
  void PowerHighBeforeClose();
  void ResetRadio();

  // The write step: nothing offline or above the calibration area; else
  // "Write... " and "OK" or "fail". True when the radio took the byte.
  bool WriteStep(int address, int value);
  // Microphone gains: stored in the image and sent, online or offline.
  void WriteMicGain(bool rear, int value);

  // "Mod" and "Bal".
  void LoadModBal();
  int ModStep() const { return modStep_; }
  int BalStep() const { return balStep_; }
  void CaptureTrackingReference();
  // An arrow click on the modulation up-down: up raises the shown dB.
  // With tracking the balance follows.
  void ModArrow(bool up, bool tracking);
  // The keyboard paths change one value alone.
  void StepMod(bool up);
  void StepBal(bool up);
  void TypeMod(double decibels);
  void TypeBal(double decibels);

  // Live readings and calibration.
  AdReading PollAd();
  std::optional<int> PollFrequencyError();
  void SetAfc(bool on);
  // Status bit 5: a received signal (false also when the radio is silent).
  bool SignalPresent();
  // Turns AFC off, samples the frequency error, writes the offset that
  // cancels it and turns AFC back on. wait(ms) runs between samples.
  AutoAdjustResult AutoAdjust(const std::function<void(int)>& wait);
  // point 1: "S1 Cal", point 2: "S10 Cal". Nothing offline.
  SMeterResult CalibrateSMeter(int point);

 private:
  int Address(Param parameter) const;
  void Add(const std::string& line);
  void Clear();
  void Report(const char* action, bool ok);
  void WriteStepOf(Param parameter, int value) { WriteStep(Address(parameter), value); }

  TRadio& radio_;
  EEPROM& image_;
  const TradioInfo& info_;
  const BuildConfig& build_;
  AlignLog log_;
  bool offline_ = false;
  bool transmitting_ = false;
  int status_ = 0;
  int modStep_ = 12;
  int balStep_ = 12;
  int modRef_ = 12;
  int balRef_ = 12;
  ChannelView view_;
};
