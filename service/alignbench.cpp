#include "alignbench.h"

#include <algorithm>

#include "alignbindings.h"
#include "buildconfig.h"
#include "eeprom.h"
#include "radio.h"
#include "radioinfo.h"

AlignBench::AlignBench(TRadio& radio, EEPROM& image, const TradioInfo& info,
                       const BuildConfig& build)
    : radio_(radio), image_(image), info_(info), build_(build) {}

int AlignBench::Address(Param parameter) const { return info_.GetParamAddress(parameter); }

void AlignBench::Add(const std::string& line) {
  if (log_.add) log_.add(line);
}

void AlignBench::Clear() {
  if (log_.clear) log_.clear();
}

void AlignBench::Report(const char* action, bool ok) {
  if (!ok) Add(std::string(action) + "... fail");
}

// ---- Showing and the channel panel -------------------------------------------

void AlignBench::Open(bool offline) {
  offline_ = offline;
  transmitting_ = false;
  if (offline_) {
    radio_.currentChannel = 1;
    status_ = 0;
    return;
  }
  radio_.GetChannel();  // a silent radio leaves the channel as it was
  int status = 0;
  status_ = radio_.GetRadioStatus(status) ? status : 0;
}

int AlignBench::Channel() const { return radio_.currentChannel; }
int AlignBench::RawChannel() const { return radio_.rawChannel; }

const ChannelView& AlignBench::RefreshView() {
  view_ = ViewOfChannel(radio_.currentChannel, view_, image_, info_, build_);
  return view_;
}

void AlignBench::Step(bool up) {
  if (offline_) {
    int& n = radio_.currentChannel;
    n = up ? (n >= 80 ? 1 : n + 1) : (n <= 1 ? 80 : n - 1);
    return;
  }
  int channel = 0;
  Report("Channel step", radio_.StepChannel(up ? 1 : -1, channel));
}

void AlignBench::ReturnToChannel() {
  if (!offline_) Report("Channel", radio_.SetChannel(radio_.currentChannel));
}

void AlignBench::TuneAlignmentFrequency(int index) {
  if (index < 0 || index > 2) return;
  Report("Alignment frequency", radio_.SetPllFrequency(PllStepsOfMHz(kAlignmentMHz[index])));
}

void AlignBench::SetPtt(int value) {
  transmitting_ = value != kPttOff;
  if (offline_) return;
  // TRadio's PTT command knows on and off only; the microphone choice
  // travels in the same byte, so the request is built here.
  VORN_PACKET_STRUCT_TAG request, reply;
  request.length = 2;
  request.data[0] = OP_SET_PTT;
  request.data[1] = static_cast<uint8_t>(value);
  Report("PTT", radio_.SendCommand(request, &reply, kTimeoutNormal));
}

void AlignBench::ToggleSquelch() {
  if (offline_) {
    status_ ^= 1;
    return;
  }
  int status = 0;
  bool ok = radio_.GetRadioStatus(status);
  if (ok) {
    status_ = status;
    ok = radio_.SetSquelchOpen((status & 1) == 0);
  }
  if (ok && radio_.GetRadioStatus(status)) status_ = status;
  Report("Squelch", ok);
}

void AlignBench::SetTestTone(int code) { Report("Test tone", radio_.SetTxTone(code)); }

void AlignBench::SelectPower(bool low) {
  Clear();
  Add(low ? "Lo power... " : "Hi power... ");
  const bool ok = build_.productId == kProductTamso ? radio_.SetLowPower(low)
                                                    : radio_.SetRfPower(low ? 2 : 0);
  Add(ok ? "OK" : "fail");
}

void AlignBench::PowerHighBeforeClose() {
  if (offline_) return;
  if (build_.productId == kProductTamso)
    radio_.SetLowPower(false);
  else
    radio_.SetRfPower(0);
}

void AlignBench::ResetRadio() {
  Clear();
  Add("RESET radio...");
  Add(radio_.ResetRadio() ? "RESET radio... OK" : "RESET radio... fail");
}

// ---- Writes -----------------------------------------------------------------

bool AlignBench::WriteStep(int address, int value) {
  if (offline_ || !AlignWritable(address)) return false;
  Clear();
  Add("Write... ");
  const bool ok = radio_.WriteMemoryByte(address, value & 0xFF);
  // The image follows the radio only once the radio has taken the byte.
  if (ok) image_.SetByte(address, value & 0xFF);
  Add(ok ? "OK" : "fail");
  return ok;
}

void AlignBench::WriteMicGain(bool rear, int value) {
  const int address = Address(rear ? Param("Mic Gain Rear") : Param("Mic Gain"));
  if (address < 0) return;
  image_.SetByte(address, value & 0xFF);
  Add(radio_.WriteMemoryByte(address, value & 0xFF) ? "OK" : "fail");
}

// ---- Modulation and balance ---------------------------------------------------

void AlignBench::LoadModBal() {
  modStep_ = StepOfByte(image_.GetByte(Address("Mod")));
  balStep_ = StepOfByte(image_.GetByte(Address("Bal")));
  CaptureTrackingReference();
}

void AlignBench::CaptureTrackingReference() {
  modRef_ = modStep_;
  balRef_ = balStep_;
}

namespace {
// Up raises the shown decibels, which is a lower step.
int Stepped(int step, bool up) { return std::clamp(step + (up ? -1 : 1), 0, kModBalMaxStep); }
}  // namespace

void AlignBench::ModArrow(bool up, bool tracking) {
  StepMod(up);
  if (!tracking) return;
  balStep_ = TrackedBalance(modStep_, modRef_, balRef_);
  WriteStepOf("Bal", balStep_);
}

void AlignBench::StepMod(bool up) {
  modStep_ = Stepped(modStep_, up);
  WriteStepOf("Mod", modStep_);
}

void AlignBench::StepBal(bool up) {
  balStep_ = Stepped(balStep_, up);
  WriteStepOf("Bal", balStep_);
}

void AlignBench::TypeMod(double decibels) {
  modStep_ = StepOfDecibels(decibels);
  WriteStepOf("Mod", modStep_);
}

void AlignBench::TypeBal(double decibels) {
  balStep_ = StepOfDecibels(decibels);
  WriteStepOf("Bal", balStep_);
}

// ---- Readings and calibration --------------------------------------------------

namespace {
constexpr int kAdcRssi = 4;
constexpr int kAdcNoise = 5;
constexpr int kSignalPresent = 0x20;
constexpr int kSampleGapMs = 50;
}  // namespace

AdReading AlignBench::PollAd() {
  if (offline_) return {"128", "128", true};
  const int noise = radio_.ReadAdcChannel(kAdcNoise);
  const int rssi = noise < 0 ? -1 : radio_.ReadAdcChannel(kAdcRssi);
  if (noise < 0 || rssi < 0) return {"-", "-", false};
  return {std::to_string(noise), std::to_string(rssi), true};
}

std::optional<int> AlignBench::PollFrequencyError() {
  int value = 0;
  if (!radio_.ReadFrequencyError(value)) return std::nullopt;
  return value;
}

void AlignBench::SetAfc(bool on) { Report("AFC", radio_.SetAfcEnable(on)); }

bool AlignBench::SignalPresent() {
  int status = 0;
  if (!radio_.GetRadioStatus(status)) return false;
  status_ = status;
  return (status & kSignalPresent) != 0;
}

AutoAdjustResult AlignBench::AutoAdjust(const std::function<void(int)>& wait) {
  AutoAdjustResult result;
  radio_.SetAfcEnable(false);
  std::vector<int> samples;
  while (static_cast<int>(samples.size()) < kAutoAdjustSamples) {
    int value = 0;
    if (!radio_.ReadFrequencyError(value)) break;
    if (wait) wait(kSampleGapMs);
    samples.push_back(value);
  }
  result.average = AverageOf(samples, kAutoAdjustSamples);
  if (static_cast<int>(samples.size()) == kAutoAdjustSamples) {
    const int old = SignedByte(image_.GetByte(Address("Rx ADC Offset")));
    result.newOffset = AdjustedRxOffset(old, result.average);
    result.outcome = AutoAdjustOutcome::kAdjusted;
    WriteStepOf("Rx ADC Offset", result.newOffset);
  } else {
    result.outcome = AutoAdjustOutcome::kTooFewSamples;
  }
  radio_.SetAfcEnable(true);
  return result;
}

SMeterResult AlignBench::CalibrateSMeter(int point) {
  SMeterResult result;
  if (offline_) return result;
  int sum = 0;
  for (int i = 0; i < kSMeterReads; ++i) {
    const int rssi = radio_.ReadAdcChannel(kAdcRssi);
    if (rssi < 0) return result;
    sum += rssi;
  }
  const int average = SMeterAverage(sum);
  result.value = average;
  const int address = Address(point == 1 ? Param("S1 Cal") : Param("S10 Cal"));
  if (address < 0) return result;
  result.complete = radio_.WriteMemoryByte(address, average);
  // Kept in the image even when the radio did not confirm: the reading
  // is what the technician calibrated against.
  image_.SetByte(address, average);
  return result;
}
