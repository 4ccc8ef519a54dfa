#include "batchrunner.h"

#include <cstring>
#include <ctime>

#include "calibration.h"
#include "eeprom.h"
#include "memfile.h"
#include "params.h"
#include "radio.h"
#include "radioinfo.h"
#include "selcall.h"

namespace {

// A radio counts as gone after this many unanswered requests in a row,
// so one lost reply of a radio still on the lead does not let it be
// programmed a second time.
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

BatchRunner::BatchRunner(TransferFlows& flows, const RadioObjects& objects, BatchHost& host)
    : flows_(flows), o_(objects), host_(host) {}

bool BatchRunner::Prepare(const BatchSettings& settings, std::string& error) {
  settings_ = settings;
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
  }
  if (!settings.logPath.empty()) {
    std::vector<BatchRow> rows;
    if (!ReadBatchLog(settings.logPath, rows, error)) return false;
    usedIdents_ = IdentsLoggedOk(rows);
  }
  if (selcall_ && usedIdents_.count(ident_) && !AdvanceIdent()) {
    error = "every ident from " + settings.firstIdent + " on is already in the log";
    return false;
  }
  return true;
}

// The next ident no radio has been given, in this batch or in the log.
bool BatchRunner::AdvanceIdent() {
  if (!selcall_) return true;
  do {
    if (!NextIdent(ident_)) return false;
  } while (usedIdents_.count(ident_));
  return true;
}

bool BatchRunner::WaitForRadio() {
  for (;;) {
    if (host_.StopRequested()) return false;
    if (!flows_.PortCheck()) return false;
    int id = 0;
    if (o_.radio.ReadProductId(id)) return true;
    host_.PollPause();
  }
}

bool BatchRunner::WaitUntilGone() {
  int silent = 0;
  while (silent < kSilentPollsForGone) {
    if (host_.StopRequested()) return false;
    if (!flows_.PortCheck()) return false;
    int id = 0;
    if (o_.radio.ReadProductId(id)) {
      silent = 0;
      host_.PollPause();
    } else {
      ++silent;
    }
  }
  host_.RadioGone();
  return true;
}

bool BatchRunner::TransferDone(bool started) const {
  flows_.FinishPreviousTransfer();
  if (!started) return false;
  const TransferOutcome outcome = flows_.LastOutcome();
  return outcome.number != 0 && outcome.result == kTransferCompleted;
}

bool BatchRunner::Cancelled() const {
  return flows_.LastOutcome().result == kTransferCancelled || host_.StopRequested();
}

// Reads the whole radio; the image then holds it.
std::string BatchRunner::ReadStep(BatchRow& row, const EEPROM& config) {
  int id = 0;
  if (!o_.radio.ReadProductId(id)) return "failed: no answer to the product ID request";
  row.productId = HexId(static_cast<uint32_t>(id));
  const uint32_t want = ConfigProductId(config, o_.info);
  if (static_cast<uint32_t>(id) != want)
    return "refused: the radio is a " + ModelName(static_cast<uint32_t>(id)) +
           ", the configuration is for a " + ModelName(want);
  const bool started = flows_.ReadRadio();
  if (started) {
    row.firmware = o_.radio.GetFirmwareText();
    o_.radio.GetVersionText(row.version);
  }
  if (!TransferDone(started)) return Cancelled() ? "cancelled" : "failed: the read";
  row.archive = flows_.LastArchivedPath();
  if (selcall_) row.identBefore = LoadRadioIdent(o_.image, o_.info);
  std::memcpy(calibration_, o_.image.Data(), kCalibrationBytes);
  return "";
}

// Writes the configuration with the radio's calibration and this radio's
// ident.
std::string BatchRunner::WriteStep(BatchRow& row, const EEPROM& config) {
  o_.image.WriteBlock(0, config.Data(), config.GetLength());
  KeepCalibration(o_.image, calibration_, o_.info);
  if (selcall_) {
    // Logged as given, so a resumed batch knows it again.
    if (!StoreRadioIdent(o_.image, o_.info, ident_)) return "failed: the ident " + ident_;
    row.identAfter = ident_;
  }
  const bool started = flows_.WriteRadio();
  if (!TransferDone(started)) return Cancelled() ? "cancelled" : "failed: the write";
  if (flows_.LastOutcome().resetFailed) return "failed: the radio did not answer its reset";
  return "";
}

// Reads the radio back and compares it with what was written.
std::string BatchRunner::VerifyStep() {
  const EEPROM written = o_.image;
  const bool started = flows_.ReadRadio();
  if (!TransferDone(started)) return Cancelled() ? "cancelled" : "failed: the read-back";
  if (flows_.LastOutcome().resetFailed) return "failed: the radio did not answer its reset";
  for (int a = 0; a < written.GetLength(); ++a)
    if (written.GetByte(a) != o_.image.GetByte(a))
      return "failed: verify (the radio differs from what was written at address " +
             std::to_string(a) + ")";
  return "";
}

BatchRow BatchRunner::ProgramRadio(const EEPROM& config) {
  BatchRow row;
  row.time = Now();
  row.port = settings_.port;
  row.result = ReadStep(row, config);
  if (row.result.empty() && host_.StopRequested()) row.result = "cancelled";
  if (row.result.empty()) row.result = WriteStep(row, config);
  if (row.result.empty() && host_.StopRequested()) row.result = "cancelled";
  if (row.result.empty()) row.result = VerifyStep();
  if (row.result.empty()) row.result = kBatchOk;
  o_.image.WriteBlock(0, config.Data(), config.GetLength());
  return row;
}

BatchSummary BatchRunner::Run() {
  BatchSummary summary;
  const EEPROM config = o_.image;
  const std::string total = std::to_string(settings_.count);
  while (summary.ok < settings_.count) {
    const std::string number = std::to_string(summary.ok + 1);
    host_.Prompt("Radio " + number + " of " + total + ": connect it and switch it on.");
    if (!WaitForRadio()) break;
    const BatchRow row = ProgramRadio(config);
    std::string logError;
    if (!settings_.logPath.empty() && !AppendBatchLog(settings_.logPath, row, logError)) {
      host_.LogFailed(logError);
      summary.error = logError;
    }
    const bool ok = row.result == kBatchOk;
    ok ? ++summary.ok : ++summary.failed;
    if (ok && selcall_) usedIdents_.insert(ident_);
    const bool more = summary.ok < settings_.count;
    const bool identsLeft = !ok || !more || AdvanceIdent();
    std::string said = "Radio " + number + " of " + total + ": " + row.result;
    if (ok && selcall_) said += ", ident " + row.identAfter;
    said += more ? ". Switch it off and connect the next radio." : ". Switch it off.";
    host_.RadioEnded(row, said);
    if (!summary.error.empty()) break;
    if (row.result == "cancelled") {
      summary.stopped = true;
      break;
    }
    if (!identsLeft) {
      summary.error = "the idents have run out";
      break;
    }
    if (!more) break;
    if (!WaitUntilGone()) break;
  }
  if (host_.StopRequested()) summary.stopped = true;
  o_.image.WriteBlock(0, config.Data(), config.GetLength());
  return summary;
}
