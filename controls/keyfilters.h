#pragma once
// Key filters shared by the editor windows' edit boxes. They are validators
// rather than key handlers so that pasted text is held to the same rules as
// typed text.

#include <QObject>
#include <QValidator>
#include <functional>

class QLineEdit;

// Digits and "." only.
QValidator* NewDigitsAndPointValidator(QObject* parent);

// Letters become capitals; characters the radio's display cannot show are
// refused, as is "@", which would end the name where it was typed.
class AlphaTagValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
};

// Runs `onEnter` for Enter or Return in `edit` and swallows the key, so the
// dialog's default button does not take it.
void OnEnterKey(QLineEdit* edit, std::function<void()> onEnter);
