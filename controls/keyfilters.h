#pragma once
// Keys an edit box answers itself, before the box or the dialog sees them.

#include <functional>

class QLineEdit;

// Runs `onEnter` for Enter or Return in `edit` and swallows the key, so the
// dialog's default button does not take it.
void OnEnterKey(QLineEdit* edit, std::function<void()> onEnter);

// Runs `step` for the Up and Down keys in `edit` and swallows them, so a
// box whose arrows sit beside it steps by keyboard too.
void OnArrowKeys(QLineEdit* edit, std::function<void(bool up)> step);
