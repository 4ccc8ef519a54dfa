#pragma once
// The program's secondary windows, each built the first time it is opened
// and living from then on as long as the main window does. Each is plugged into the main window's
// openers here, so the main window itself knows none of them.

#include <QObject>

#include "windowcontext.h"

class TfrmMain;

class ProgramWindows : public QObject {
 public:
  // Becomes a child of `main`, which must outlive nothing it lends out.
  explicit ProgramWindows(TfrmMain& main);

 private:
  void InstallEditors();
  void InstallAlignment();
  void InstallService();
  void InstallLinkWindows();
  void InstallFloatingDisplays();
  void InstallBatch();

  TfrmMain& main_;
  WindowContext context_;
};
