#pragma once
// How the core flows talk to the person at the keyboard. The main window
// answers with message boxes, the command-line tool on the terminal, and
// tests with scripted answers. Captions and texts are the program's own.

#include <string>

enum class PromptIcon { Warning, Information, Question, Error };

class UserPrompts {
 public:
  virtual ~UserPrompts() = default;
  // A message with an OK button.
  virtual void ShowMessage(const std::string& text, const std::string& caption,
                           PromptIcon icon) = 0;
  // A question with OK and Cancel; true only for OK.
  virtual bool AskOkCancel(const std::string& text, const std::string& caption,
                           PromptIcon icon) = 0;
};
