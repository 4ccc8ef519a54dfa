#pragma once
// The main window's style sheet, kept as a resource (mainwindow.qss) so its
// look is read and changed in one place rather than in strings in code.

#include <QString>

// The sheet with `accent` (the model's trim colour) filled in.
QString MainWindowStyleSheet(const QString& accent = "palette(highlight)");
