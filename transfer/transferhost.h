#pragma once
// What the read and write commands need from the program around them.
// The main window implements it with message boxes, its status bar and
// the progress dialog; the command-line tool on the terminal; tests with
// scripted answers. The commands themselves exist once, in TransferFlows.

#include <cstdint>
#include <functional>
#include <string>

#include "prompts.h"

class Event;

// Program state the commands read and change beside the image and TRadio
// (the radio-read counter lives on TRadio).
struct TransferState {
  int portNumber = 1;                // the port is "COM" + number
  uint32_t currentBaudRate = 9600;   // what the serial port runs at
  uint32_t maxBdRate = 9600;         // the rate transfers may raise to
  bool baudRaised = false;           // set by each read, kept for writes
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

  // What the host shows of the port, the radio and the data changed.
  // The radio shown may no longer be the one on the lead (a command is
  // about to identify it again).
  virtual void RadioIdentityStale() = 0;
  // The port was opened, closed, or changed its rate.
  virtual void PortStateChanged() = 0;
  // Any of port, radio identity and data source may have changed; shown
  // at once, before the command goes on talking to the radio.
  virtual void StatusChanged() = 0;

  // The floating display's poll timer, stopped while a transfer runs.
  virtual bool IsFloatingDisplayOn() = 0;
  virtual void StopPollTimer() = 0;
  virtual void StartPollTimer() = 0;

  // The engineering build's "Read/Write using arrays" check mark.
  virtual bool ArrayFlagChecked() = 0;

  // After a transfer: where the image now comes from, and the editors.
  virtual void SetDataSource(DataSourceState source) = 0;
  virtual void UpdateEditButtons() = 0;

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
