#pragma once
// How the core flows talk to the person at the keyboard. The main window
// answers with message boxes, the command-line tool on the terminal, and
// tests with scripted answers. Captions and texts are the program's own.

#include <string>

enum class PromptIcon { Warning, Information, Question, Error };

// Every OK/Cancel question the program asks. The caption and text are for
// people and say the same thing in other words over time; a host that
// answers without one (the terminal, a batch, a test) goes by this.
enum class QuestionId {
  kReadOverEditData,       // "Read From Radio?": the read replaces the data being edited
  kContinueAtDefaultRate,  // "Set baudrate": the radio would not go faster
  kWriteUnreadRadio,       // "Warning": the radio was not read in this session
  kAlignOffline,           // "Comms Error": the calibration could not be read
  kLoadOverData,           // "Read file", "Load Default File.": a file replaces the data
  kOverwriteFile,          // "Saving Program File...": the file is already there
  kRestoreAfterCutWrite,   // a write stopped part way: put back the read taken before it
};

class UserPrompts {
 public:
  virtual ~UserPrompts() = default;
  // A message with an OK button.
  virtual void ShowMessage(const std::string& text, const std::string& caption,
                           PromptIcon icon) = 0;
  // A question with OK and Cancel; true only for OK.
  virtual bool AskOkCancel(QuestionId question, const std::string& text,
                           const std::string& caption, PromptIcon icon) = 0;
};
