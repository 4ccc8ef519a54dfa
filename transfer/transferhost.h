#pragma once
// What the read and write commands need from the program around them.
// The main window implements it with message boxes, its status bar and
// the progress dialog; the command-line tool on the terminal; tests with
// scripted answers. The commands themselves exist once, in TransferFlows.
// Only telling the user and running the progress display must be given;
// the rest does nothing unless a host has something to show or pause.

#include <cstdint>
#include <functional>
#include <string>

#include "prompts.h"

class Event;
struct TransferOutcome;

// Program state the commands read and change beside the image and TRadio
// (the radio-read counter lives on TRadio).
struct TransferState {
  int portNumber = 1;                // the port is "COM" + number
  uint32_t currentBaudRate = 9600;   // what the serial port runs at
  uint32_t maxBdRate = 9600;         // the rate transfers may raise to
  bool baudRaised = false;           // set by each read, kept for writes
  // The engineering build's "Read/Write using arrays" mark; other builds
  // go by what the model can do.
  bool arraysChecked = false;
};

// Where the image the user works with came from.
enum DataSourceState : int { kNothingLoaded = 0, kFileData = 1, kRadioData = 2 };

// How the progress display of one transfer is set up before it is shown.
struct ProgressSetup {
  std::string caption;  // "Reading from Radio" / "Writing to Radio"
  int minimum = 0;
  int maximum = 2047;
  int direction = 0;
  Event* cancelEvent = nullptr;  // what the Cancel button sets
};

class TransferHost : public UserPrompts {
 public:
  // The message for a port that will not open. Hosts that know more (the
  // system's reason, the remedy) say it; the plain line is the least.
  virtual std::string OpenPortFailureText(const std::string& portName) {
    return "Unable to open " + portName + ".";
  }

  // What the host shows of the port, the radio and the data.
  //
  // The radio shown may no longer be the one on the lead (a command is
  // about to identify it again).
  virtual void RadioIdentityStale() {}
  // The port was opened, closed, or changed its rate.
  virtual void PortStateChanged() {}
  // Any of port, radio identity and data source may have changed; shown
  // at once, before the command goes on talking to the radio.
  virtual void StatusChanged() {}
  // After a transfer: where the image now comes from.
  virtual void SetDataSource(DataSourceState) {}

  // A whole-memory transfer (kDirectionRead or kDirectionWrite) has passed
  // its checks and is about to hold the radio, before any question it may
  // still ask: whatever else of the host talks to the radio pauses.
  virtual void TransferStarting(int /*direction*/) {}
  // That transfer is over, exactly once per TransferStarting: its closing
  // steps have set the data source and the status, or it stopped before
  // its worker ran (outcome.number is 0 then). What paused resumes, and
  // what follows the data catches up.
  virtual void TransferEnded(const TransferOutcome& /*outcome*/) {}

  // Sets the progress display up as `setup` says, calls startWorker (which
  // resets the cancel event and starts the worker; false: nothing started,
  // show nothing) and returns once the progress display has closed. The
  // worker's messages reach the host's window meanwhile and go to
  // TransferFlows::HandleMessage.
  virtual void RunTransfer(const ProgressSetup& setup,
                           const std::function<bool()>& startWorker) = 0;

  // Hands every message the ended worker has already posted to
  // TransferFlows::HandleMessage now (windows: deliver the posted events
  // queued for the window). Called before the next radio command starts.
  virtual void DeliverPendingMessages() = 0;

  // A complete read could not be kept in the read archive. The read itself
  // stands, so this must not stop the user: the window says it in its
  // status bar, the terminal on a line. Once per read.
  virtual void ReportArchiveFailure(const std::string& text) {
    ShowMessage(text, "Read archive", PromptIcon::Warning);
  }
};
