#pragma once
// The "Read radio" and "Write radio" commands with the port check and the
// product-ID check they start with. Written once against TransferHost, so
// the main window and the command-line tool run the same steps and show
// the same texts. All of it runs on the user-interface thread except the
// block copying, which is TransferWorker's.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "eebuff.h"
#include "platform.h"
#include "sharedobjects.h"
#include "progress.h"
#include "transferhost.h"
#include "transferworker.h"
#include "workerlane.h"

class EEPROM;
class ReadArchive;
class SerialPort;
class TRadio;
class TradioInfo;
struct BuildConfig;

// The program's shared objects the commands work on.
struct RadioObjects {
  SerialPort& port;
  TRadio& radio;
  EEPROM& image;
  TradioInfo& info;  // the current model: parameter addresses
  const BuildConfig& build;
  Event& cancel;  // set by the progress display's button, read by the worker
};

inline RadioObjects RadioObjectsOf(SharedObjects& s, const BuildConfig& build) {
  return RadioObjects{s.port, s.radio, s.image, s.info, build, s.cancel};
}

// The notice for a radio whose firmware lacks the newest features (NetScan),
// by build product ID and firmware major version; empty when none is due.
std::string VersionNotice(uint32_t buildProductId, int majorVersion);
inline constexpr const char* kVersionNoticeCaption = "Radio version check";

// When the radio took a faster rate that the computer's port cannot set.
std::string PortCannotFollowText(uint32_t rate);

class TransferFlows {
 public:
  // window receives the worker's messages; its owner hands them back to
  // HandleMessage on the user-interface thread. The window and the host
  // outlive the flows (whose end cancels and waits for a running worker).
  TransferFlows(const RadioObjects& objects, TransferState& state, TransferHost& host,
                MessageReceiver* window);
  ~TransferFlows();
  TransferFlows(const TransferFlows&) = delete;
  TransferFlows& operator=(const TransferFlows&) = delete;

  // Opens "COM" + port number at the current baud rate; says so when it
  // cannot.
  bool OpenPort();
  // Before any radio command: lets a transfer still finishing end (and
  // completes its closing steps), reopens a port whose device vanished,
  // opens a closed port. False when the port could not be opened.
  bool PortCheck();
  // Reads the radio's product ID and checks that this build accepts it.
  bool CheckProductId(int& productId, int& rowIndex);

  // The commands. True when a transfer was started (its progress display
  // has closed by now; the closing steps follow on the worker's message).
  bool ReadRadio();
  bool WriteRadio();

  // The steps the safer writes are made of. None asks about edit data or
  // touches the image or its source. Each is one transfer, ended like the
  // others (FinishPreviousTransfer, LastOutcome).
  // That the radio and `config` are of one model this build accepts.
  bool CheckRadioFor(const EEPROM& config);
  // Reads the whole radio into `into` and keeps it in the read archive.
  bool ReadRadioAside(EEPROM& into);
  // Writes the chosen 16-byte blocks of `source` (all of it when `blocks`
  // is empty) into the radio.
  bool WriteImage(const EEPROM& source, const std::vector<bool>& blocks);
  // Reads the chosen blocks back into `into`; its other bytes stay.
  bool ReadBlocks(EEPROM& into, const std::vector<bool>& blocks);

  // The worker's messages (WM_TRANSFER, WM_TRANSFER_CLOSED); view is the
  // progress display. False for any other message.
  bool HandleMessage(unsigned message, intptr_t wParam, intptr_t lParam, ProgressView& view);

  // Waits for a running transfer to end and carries out its closing steps
  // if its message has not been handled yet. PortCheck starts with it; the
  // command-line tool calls it to finish a command. It finishes any worker
  // of the lane, the EEPROM editor's included.
  void FinishPreviousTransfer();

  // The lane every whole-memory worker of the session runs on.
  WorkerLane& Lane() { return lane_; }
  bool ClosePending() const { return lane_.ClosePending(); }
  // Where every complete read is also kept; none (the default) keeps
  // nothing. The archive outlives the flows.
  void SetReadArchive(const ReadArchive* archive) { archive_ = archive; }
  const ReadArchive* Archive() const { return archive_; }
  // A saved copy of the radio (a backup read) that a write stopped part
  // way names as the way back; without one, the last archived read.
  void SetRestorePath(const std::string& path) { restorePath_ = path; }
  // The archive copy of the last complete read; empty when none was made.
  const std::string& LastArchivedPath() const { return lastArchivedPath_; }
  // The outcome of the last transfer whose closing steps have run.
  TransferOutcome LastOutcome() const { return lastOutcome_; }
  int Direction() const { return direction_; }
  Event& CancelEvent() { return o_.cancel; }
  TransferWorker& Worker() { return lane_.Worker(); }

 private:
  bool Warn(const std::string& text, const std::string& caption);  // always false
  // The port went away under the transfer: its own words for what stopped it.
  bool PortLost() const;
  std::string PortLostMessage() const;
  bool AcceptedRadio(uint32_t id, const std::string& caption, std::string& name);
  bool RaiseBaudRate();
  bool ArrayFlag() const;
  bool StoppedBeforeWorker(int direction);  // always false
  bool StartTransfer(int direction, const std::string& caption);
  bool EnterForTransfer(int direction);
  bool RunAside(int direction, const std::string& caption);
  void RunClosingSteps(const TransferOutcome& outcome, bool baudRaised);
  void ArchiveRead(const EEPROM& image);

  // A transfer that leaves the image alone: what it writes from or reads
  // into, and which blocks.
  struct Aside {
    const EEPROM* source = nullptr;
    EEPROM* target = nullptr;
    std::vector<bool> blocks;
    bool archive = false;
  };
  std::unique_ptr<Aside> aside_;

  RadioObjects o_;
  TransferState& state_;
  TransferHost& host_;
  MessageReceiver* window_;
  // The worker copies to and from this side copy of the image: a read
  // reaches the image only once the whole memory has arrived, so a failed
  // or cancelled read can never leave a half-read image to be written back.
  EEbuffer transferImage_;
  WorkerLane lane_;
  int direction_ = kDirectionRead;
  TransferOutcome lastOutcome_;
  const ReadArchive* archive_ = nullptr;
  std::string lastArchivedPath_;
  std::string restorePath_;
};
