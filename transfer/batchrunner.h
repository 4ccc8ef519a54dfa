#pragma once
// Programs radio after radio on one port from one configuration: each
// radio is checked for its model, read whole (archived like every read),
// written with its own calibration kept and, on models with selcall, its
// own ident, read back and compared, and reset. Written once against a
// host, so the command-line tool and the window run the same batch. It
// runs the radio commands through TransferFlows, so the port check, the
// worker lane and the read archive are the ones of every transfer.

#include <set>
#include <string>

#include "batchlog.h"
#include "transferflows.h"
#include "selcall.h"

// The digits the Selcall Options window shows of the ident.
inline constexpr int kBatchIdentDigits = kRadioIdentLength;
// Between two product-ID requests to a port with no radio on it.
inline constexpr int kBatchPollPauseMs = 100;

// Whether a batch of this configuration gives each radio its own ident:
// the model has selcall and an ident to store.
bool BatchGivesIdents(const EEPROM& config, const TradioInfo& info);

struct BatchSettings {
  std::string port;        // its name, for the log
  std::string firstIdent;  // decimal digits; ignored on models without selcall
  int count = 1;           // radios to end OK
  std::string logPath;     // empty: no log
};

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
  // The log could not be written; the batch stops.
  virtual void LogFailed(const std::string& error) = 0;
  // The radio stopped answering; the next may be connected now.
  virtual void RadioGone() {}
  // Between two polls of the port.
  virtual void PollPause() { SleepMs(kBatchPollPauseMs); }
};

struct BatchSummary {
  int ok = 0;
  int failed = 0;      // failed, refused and cancelled radios
  bool stopped = false;
  std::string error;   // why the batch ended early, when it did
};

class BatchRunner {
 public:
  // The configuration to write is objects.image when Run is called; it is
  // left there when Run ends. The flows' host must answer "Read From
  // Radio?" itself: the batch holds the configuration aside.
  BatchRunner(TransferFlows& flows, const RadioObjects& objects, BatchHost& host);

  // Checks the settings against the configuration and reads the log to
  // resume; error says why not.
  bool Prepare(const BatchSettings& settings, std::string& error);
  BatchSummary Run();

  // The ident the next radio gets (empty when the model has no selcall).
  const std::string& NextIdentToGive() const { return ident_; }

 private:
  bool WaitForRadio();
  bool WaitUntilGone();
  BatchRow ProgramRadio(const EEPROM& config);
  std::string ReadStep(BatchRow& row, const EEPROM& config);
  std::string WriteStep(BatchRow& row, const EEPROM& config);
  std::string VerifyStep();
  bool TransferDone(bool started) const;
  bool Cancelled() const;
  bool AdvanceIdent();

  TransferFlows& flows_;
  RadioObjects o_;
  BatchHost& host_;
  BatchSettings settings_;
  bool selcall_ = false;
  std::string ident_;
  std::set<std::string> usedIdents_;
  uint8_t calibration_[32] = {};
};
