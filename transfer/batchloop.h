#pragma once
// Programs radio after radio on one port from one configuration: each
// radio is checked for its model, read whole (archived like every read),
// written with its own calibration kept and, on models with selcall, its
// own ident, read back and compared, and reset. Written once against a
// host, so the command-line tool and the window run the same batch. It
// runs the radio commands through TransferFlows, so the port check, the
// worker lane and the read archive are the ones of every transfer.

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "batchlog.h"
#include "transferflows.h"
#include "selcall.h"

// The digits the Selcall Options window shows of the ident.
inline constexpr int kBatchIdentDigits = kRadioIdentLength;
// Between two product-ID requests to a port with no radio on it.
inline constexpr int kBatchPollPauseMs = 100;
// A radio is taken as gone once it has answered nothing for this long: a
// noisy lead loses a reply now and then, a radio switched off or unplugged
// loses them all, and a radio taken for gone while still on the lead
// would be programmed again with the next ident.
inline constexpr int kBatchGoneAfterSilentMs = 3000;

// Whether a batch of this configuration gives each radio its own ident:
// the model has selcall and an ident to store.
bool BatchGivesIdents(const EEPROM& config, const TradioInfo& info);

struct BatchSettings {
  std::string port;        // its name, for the log
  std::string firstIdent;  // decimal digits; ignored on models without selcall
  int count = 1;           // radios to end OK
  std::string logPath;     // empty: no log
  // The configuration's files (the one loaded, the default one): never
  // taken as the log.
  std::vector<std::string> configPaths;
  int goneAfterSilentMs = kBatchGoneAfterSilentMs;
};

// The whole-memory transfers of one radio, in their order.
enum class BatchStage { kRead, kWrite, kVerify };

class BatchHost {
 public:
  virtual ~BatchHost() = default;
  // Stop (Ctrl-C, the Stop button): asked between radios, between the
  // steps of one radio and between polls of the port.
  virtual bool StopRequested() = 0;
  // The line for the user: what to do now.
  virtual void Prompt(const std::string& text) = 0;
  // A radio has ended (and its row has been logged). prompt says what to
  // do next.
  virtual void RadioEnded(const BatchRow& row, const std::string& prompt) = 0;
  // The log could not be written; the batch stops (the summary says why).
  virtual void LogFailed(const std::string& error) { (void)error; }
  // The radio stopped answering; the next may be connected now.
  virtual void RadioGone() {}
  // A radio's transfer is about to start: its progress begins again.
  virtual void StageStarting(BatchStage stage) { (void)stage; }
  // Between two polls of the port.
  virtual void PollPause() { SleepMs(kBatchPollPauseMs); }
};

// How one radio ended; the log keeps the words (BatchRow::result).
enum class BatchOutcome {
  kOk,
  kRefused,    // another model: nothing written
  kFailed,     // a step failed; its ident stays free
  kCancelled,  // stopped during its transfers
  kRecognised, // the radio just programmed, answering again: not written
};

struct BatchSummary {
  int ok = 0;
  int failed = 0;      // failed, refused and cancelled radios
  bool stopped = false;
  std::string error;   // why the batch ended early, when it did
};

class BatchLoop {
 public:
  // The configuration to write is objects.image when Run is called; it is
  // left there when Run ends. The flows' host must answer "Read From
  // Radio?" itself: the batch holds the configuration aside.
  BatchLoop(TransferFlows& flows, const RadioObjects& objects, BatchHost& host);

  // The check made before every request to the port; the flows' own by
  // default (a terminal adds the device and the reason to its message).
  void SetPortCheck(std::function<bool()> check) { portCheck_ = std::move(check); }

  // Checks the settings against the configuration, takes the log (locked
  // until Run ends) and reads it to resume; error says why not.
  bool Prepare(const BatchSettings& settings, std::string& error);
  // What the user should know before the first radio: a short first ident,
  // a log whose last line was cut short.
  const std::vector<std::string>& Notes() const { return notes_; }
  BatchSummary Run();

 private:
  struct Step {
    BatchOutcome outcome = BatchOutcome::kOk;
    std::string detail;  // refused or failed: why
    bool Ok() const { return outcome == BatchOutcome::kOk; }
  };
  static Step Failed(const std::string& why) { return {BatchOutcome::kFailed, why}; }
  static std::string ResultText(const Step& step);

  bool PortCheck();
  bool WaitForRadio();
  bool WaitUntilGone();
  Step ProgramRadio(BatchRow& row, const EEPROM& config);
  Step ReadStep(BatchRow& row, const EEPROM& config);
  bool JustProgrammed() const;
  Step TakeIdent();
  Step WriteStep(BatchRow& row, const EEPROM& config);
  Step VerifyStep();
  Step Ended(bool started, const std::string& what) const;
  bool TransferDone(bool started) const;
  bool Cancelled() const;
  bool AdvanceIdent();
  bool PortLost() const;
  std::string RadioIdentNow() const;

  TransferFlows& flows_;
  RadioObjects o_;
  BatchHost& host_;
  std::function<bool()> portCheck_;
  BatchSettings settings_;
  BatchLogFile log_;
  std::vector<std::string> notes_;
  bool selcall_ = false;
  std::string ident_;
  std::set<std::string> usedIdents_;  // BatchIdentText form
  std::string logTrouble_;            // the log could not be read again: the batch stops
  uint8_t calibration_[32] = {};
  // The radio that ended OK last: its calibration and the ident it took.
  bool programmedOne_ = false;
  uint8_t programmedCalibration_[32] = {};
  std::string programmedIdent_;
};
