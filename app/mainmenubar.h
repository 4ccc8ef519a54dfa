#pragma once
// The main window's menu bar: its four menus with every item in its place,
// the items hidden until a build or advanced mode shows them, the keyboard
// shortcuts, and the list of recently used mem-files. The window connects
// the items to its commands; the bar knows which items there are.

#include <QHash>
#include <QMenuBar>

#include "settings.h"

class QAction;
class QMenu;

class MainMenuBar : public QMenuBar {
 public:
  explicit MainMenuBar(QWidget* parent = nullptr);

  // Every item by its name (mnuFileWriteRadio, mnuEditScan, ...).
  QAction* Action(const QString& name) const { return actions_.value(name); }
  // The recently used mem-files, as stored; the items have no action.
  void ShowRecentFiles(const RecentFiles& files);
  // "Read/Write using arrays" is checked.
  bool ArraysChecked() const;

 private:
  QHash<QString, QAction*> actions_;
  QMenu* recentMenu_ = nullptr;
};
