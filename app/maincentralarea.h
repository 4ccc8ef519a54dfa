#pragma once
// The main window's central area: the picture of the build's radio, the
// program's name and version, the command buttons in their rows and the
// link to the maker's site. The window connects the buttons to its
// commands; the area knows which buttons there are and how they look.

#include <QHash>
#include <QWidget>

#include "buildconfig.h"

class QLabel;
class QPushButton;
class ClickLabel;

class MainCentralArea : public QWidget {
 public:
  MainCentralArea(const BuildConfig& build, QWidget* parent = nullptr);

  // Every command button by its name (btnReadRadio, btnScan, ...).
  const QHash<QString, QPushButton*>& Buttons() const { return buttons_; }
  QPushButton* Button(const QString& name) const { return buttons_.value(name); }
  // The program's name and version, shown large over the picture.
  void ShowTitles(const QString& programName, const QString& version);

 private:
  void BuildPictures(QWidget* host);
  void AddButtonRows(QWidget* content);
  void ShowPictureForBuild();
  static void OpenMakersSite();

  const BuildConfig& build_;
  QHash<QString, QPushButton*> buttons_;
  QHash<QString, QWidget*> pictures_;
  QLabel* lblProgramName_ = nullptr;
  QLabel* lblVersion_ = nullptr;
  QLabel* lblBlueTooth_ = nullptr;
  ClickLabel* lblWebLink_ = nullptr;
};
