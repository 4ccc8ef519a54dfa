#include "batchloop.h"

#include <chrono>
#include <cstring>
#include <ctime>

#include "calibration.h"
#include "eeprom.h"
#include "memfile.h"
#include "params.h"
#include "radio.h"
#include "radioinfo.h"
#include "selcall.h"
#include "serialport.h"

namespace {

// Even a long silence counts as gone only after this many unanswered
// requests in a row, so a radio is asked more than once.
constexpr int kSilentPollsForGone = 2;

std::string Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

std::string ModelName(uint32_t id) {
  int row = 0;
  uint32_t flag = 0;
  std::string name;
  return FindModel(id, row, flag, name) ? name : HexId(id);
}

uint32_t ConfigProductId(const EEPROM& image, const TradioInfo& info) {
  return static_cast<uint32_t>(image.GetWord(info.GetParamAddress(kParamProductId)));
}

}  // namespace

bool BatchGivesIdents(const EEPROM& config, const TradioInfo& info) {
  return TradioInfo::HasSelcall(ConfigProductId(config, info)) &&
         info.GetParamAddress(kParamSelcallIdent) >= 0;
}

BatchLoop::BatchLoop(TransferFlows& flows, const RadioObjects& objects, BatchHost& host)
    : flows_(flows), o_(objects), host_(host) {}

bool BatchLoop::PortCheck() { return portCheck_ ? portCheck_() : flows_.PortCheck(); }

std::string BatchLoop::ResultText(const Step& step) {
  switch (step.outcome) {
    case BatchOutcome::kOk: return kBatchOk;
    case BatchOutcome::kRefused: return "refused: " + step.detail;
    case BatchOutcome::kFailed: return "failed: " + step.detail;
    case BatchOutcome::kCancelled: return "cancelled";
    case BatchOutcome::kRecognised: return "not written: it is the radio just programmed";
  }
  return "";
}

bool BatchLoop::Prepare(const BatchSettings& settings, std::string& error) {
  settings_ = settings;
  notes_.clear();
  log_.Close();
  programmedOne_ = false;
  logTrouble_.clear();
  if (settings.count < 1) {
    error = "the count must be 1 or more";
    return false;
  }
  selcall_ = BatchGivesIdents(o_.image, o_.info);
  ident_.clear();
  usedIdents_.clear();
  if (selcall_) {
    if (!CheckFirstIdent(settings.firstIdent, settings.count, kBatchIdentDigits, error))
      return false;
    ident_ = settings.firstIdent;
    const std::string notice = EmptyIdentNotice(RadioIdentPositions(ident_));
    if (!notice.empty()) notes_.push_back(notice);
  }
  if (!settings.logPath.empty()) {
    BatchLogContents contents;
    if (!log_.Open(settings.logPath, settings.configPaths, error) || !log_.Read(contents, error)) {
      log_.Close();
      return false;
    }
    if (contents.cutLine) notes_.push_back(contents.cutNote);
    if (selcall_ && contents.cutIdentUnknown) {
      error = contents.cutNote + ": check the ident of the radio programmed last, then complete "
                                 "or remove that line of " + QuotedLogPath(settings.logPath);
      log_.Close();
      return false;
    }
    usedIdents_ = contents.taken;
  }
  if (selcall_ && usedIdents_.count(BatchIdentText(ident_)) && !AdvanceIdent()) {
    error = "every ident from " + settings.firstIdent + " on is already in the log";
    log_.Close();
    return false;
  }
  return true;
}

// The next ident no radio has been given, in this batch or in the log.
bool BatchLoop::AdvanceIdent() {
  if (!selcall_) return true;
  do {
    if (!NextIdent(ident_, kBatchIdentDigits)) return false;
  } while (usedIdents_.count(BatchIdentText(ident_)));
  return true;
}

bool BatchLoop::PortLost() const { return o_.port.IsLost() || !o_.port.IsOpen(); }

bool BatchLoop::WaitForRadio() {
  for (;;) {
    if (host_.StopRequested()) return false;
    if (!PortCheck()) return false;
    int id = 0;
    if (o_.radio.ReadProductId(id)) return true;
    host_.PollPause();
  }
}

// Gone means silent for a while, not one or two replies lost on a noisy
// lead: a radio still on the lead would otherwise be programmed again.
bool BatchLoop::WaitUntilGone() {
  using Clock = std::chrono::steady_clock;
  Clock::time_point lastAnswer = Clock::now();
  int silent = 0;
  for (;;) {
    if (host_.StopRequested()) return false;
    if (!PortCheck()) return false;
    int id = 0;
    if (o_.radio.ReadProductId(id)) {
      silent = 0;
      lastAnswer = Clock::now();
      host_.PollPause();
      continue;
    }
    ++silent;
    const auto quiet = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lastAnswer);
    if (silent >= kSilentPollsForGone && quiet.count() >= settings_.goneAfterSilentMs) break;
  }
  host_.RadioGone();
  return true;
}

bool BatchLoop::TransferDone(bool started) const {
  flows_.FinishPreviousTransfer();
  if (!started) return false;
  const TransferOutcome outcome = flows_.LastOutcome();
  return outcome.number != 0 && outcome.result == kTransferCompleted;
}

bool BatchLoop::Cancelled() const {
  return flows_.LastOutcome().result == kTransferCancelled || host_.StopRequested();
}

BatchLoop::Step BatchLoop::Ended(bool started, const std::string& what) const {
  if (!TransferDone(started))
    return Cancelled() ? Step{BatchOutcome::kCancelled, ""} : Failed(what);
  if (flows_.LastOutcome().resetFailed) return Failed("the radio did not answer its reset");
  return {};
}

std::string BatchLoop::RadioIdentNow() const {
  const int address = o_.info.GetParamAddress(kParamSelcallIdent);
  if (!selcall_ || address < 0) return "";
  unsigned char stored[4];
  for (int i = 0; i < 4; ++i) stored[i] = static_cast<unsigned char>(o_.image.GetByte(address + i));
  return BatchIdentText(stored);
}

// Reads the whole radio; the image then holds it.
BatchLoop::Step BatchLoop::ReadStep(BatchRow& row, const EEPROM& config) {
  int id = 0;
  if (!o_.radio.ReadProductId(id)) return Failed("no answer to the product ID request");
  row.productId = HexId(static_cast<uint32_t>(id));
  const uint32_t want = ConfigProductId(config, o_.info);
  if (static_cast<uint32_t>(id) != want)
    return {BatchOutcome::kRefused, "the radio is a " + ModelName(static_cast<uint32_t>(id)) +
                                        ", the configuration is for a " + ModelName(want)};
  host_.StageStarting(BatchStage::kRead);
  const bool started = flows_.ReadRadio();
  if (started) {
    row.firmware = o_.radio.GetFirmwareText();
    o_.radio.GetVersionText(row.version);
  }
  if (!TransferDone(started))
    return Cancelled() ? Step{BatchOutcome::kCancelled, ""} : Failed("the read");
  row.archive = flows_.LastArchivedPath();
  row.identBefore = RadioIdentNow();
  std::memcpy(calibration_, o_.image.Data(), kCalibrationBytes);
  if (JustProgrammed()) return {BatchOutcome::kRecognised, ""};
  return {};
}

// A radio switched off and on again answers like the next one: it is
// known by what was just written into it, its own calibration and ident.
bool BatchLoop::JustProgrammed() const {
  return programmedOne_ &&
         std::memcmp(calibration_, programmedCalibration_, kCalibrationBytes) == 0 &&
         RadioIdentNow() == programmedIdent_;
}

// The ident this radio is to take, with the log read again under its lock
// first, so no ident a log shows as given is given again.
BatchLoop::Step BatchLoop::TakeIdent() {
  if (!log_.IsOpen()) return {};
  BatchLogContents contents;
  std::string error;
  if (!log_.Read(contents, error)) {
    logTrouble_ = error;
    return Failed("the log could not be read again");
  }
  usedIdents_.insert(contents.taken.begin(), contents.taken.end());
  if (selcall_ && usedIdents_.count(BatchIdentText(ident_)) && !AdvanceIdent()) {
    logTrouble_ = "the idents have run out";
    return Failed("no ident is left");
  }
  return {};
}

// Writes the configuration with the radio's calibration and this radio's
// ident.
BatchLoop::Step BatchLoop::WriteStep(BatchRow& row, const EEPROM& config) {
  const Step ident = TakeIdent();
  if (!ident.Ok()) return ident;
  o_.image.WriteBlock(0, config.Data(), config.GetLength());
  KeepCalibration(o_.image, calibration_, o_.info);
  if (selcall_) {
    if (!StoreRadioIdent(o_.image, o_.info, ident_)) return Failed("the ident " + ident_);
    // Logged as stored, so a resumed batch knows it again.
    row.identAfter = RadioIdentNow();
  }
  host_.StageStarting(BatchStage::kWrite);
  return Ended(flows_.WriteRadio(), "the write");
}

// Reads the radio back and compares it with what was written.
BatchLoop::Step BatchLoop::VerifyStep() {
  const EEPROM written = o_.image;
  host_.StageStarting(BatchStage::kVerify);
  const Step read = Ended(flows_.ReadRadio(), "the read-back");
  if (!read.Ok()) return read;
  for (int a = 0; a < written.GetLength(); ++a)
    if (written.GetByte(a) != o_.image.GetByte(a))
      return Failed("verify (the radio differs from what was written at address " +
                    std::to_string(a) + ")");
  return {};
}

BatchLoop::Step BatchLoop::ProgramRadio(BatchRow& row, const EEPROM& config) {
  row.time = Now();
  row.port = settings_.port;
  const Step cancelled{BatchOutcome::kCancelled, ""};
  Step step = ReadStep(row, config);
  if (step.Ok() && host_.StopRequested()) step = cancelled;
  if (step.Ok()) step = WriteStep(row, config);
  if (step.Ok() && host_.StopRequested()) step = cancelled;
  if (step.Ok()) step = VerifyStep();
  if (step.Ok()) {
    programmedOne_ = true;
    std::memcpy(programmedCalibration_, calibration_, kCalibrationBytes);
    programmedIdent_ = row.identAfter;
  }
  o_.image.WriteBlock(0, config.Data(), config.GetLength());
  return step;
}

BatchSummary BatchLoop::Run() {
  BatchSummary summary;
  const EEPROM config = o_.image;
  const std::string total = std::to_string(settings_.count);
  // No radio is asked for on a port that will not open.
  if (!host_.StopRequested() && !PortCheck()) summary.error = "the port could not be opened";
  while (summary.error.empty() && summary.ok < settings_.count) {
    const std::string number = std::to_string(summary.ok + 1);
    host_.Prompt("Radio " + number + " of " + total + ": connect it and switch it on.");
    if (!WaitForRadio()) break;
    BatchRow row;
    const Step step = ProgramRadio(row, config);
    const std::string head = "Radio " + number + " of " + total + ": ";
    if (step.outcome == BatchOutcome::kRecognised) {
      host_.Prompt(head + "this is the radio just programmed (ident " + programmedIdent_ +
                   "); it was not written again. Switch it off and connect the next radio.");
      if (!WaitUntilGone()) break;
      continue;
    }
    row.result = ResultText(step);
    std::string logError;
    if (log_.IsOpen() && !log_.Append(row, logError)) {
      host_.LogFailed(logError);
      summary.error = logError;
    }
    if (summary.error.empty() && !logTrouble_.empty()) summary.error = logTrouble_;
    const bool ok = step.Ok();
    ok ? ++summary.ok : ++summary.failed;
    if (ok && selcall_) usedIdents_.insert(row.identAfter);
    const bool more = summary.ok < settings_.count;
    const bool identsLeft = !ok || !more || AdvanceIdent();
    if (!identsLeft) summary.error = "the idents have run out";
    if (step.outcome == BatchOutcome::kCancelled) summary.stopped = true;
    if (PortLost() && summary.error.empty()) summary.error = "the port was lost";
    // Only a batch that goes on asks for the next radio.
    const bool goesOn = more && summary.error.empty() && !summary.stopped;
    std::string said = head + row.result;
    if (ok && selcall_) said += ", ident " + row.identAfter;
    said += goesOn ? ". Switch it off and connect the next radio." : ". Switch it off.";
    host_.RadioEnded(row, said);
    if (!goesOn) break;
    if (!WaitUntilGone()) break;
  }
  if (host_.StopRequested()) summary.stopped = true;
  log_.Close();
  o_.image.WriteBlock(0, config.Data(), config.GetLength());
  return summary;
}
