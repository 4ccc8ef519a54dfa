#pragma once
// The About box: which radio the programmer is for, its version, and how
// to reach the maker.

#include <QDialog>

struct BuildConfig;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class ClickLabel;

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  // advanced: show the build date.
  TAboutBox(const BuildConfig& build, bool advanced, QWidget* parent = nullptr);

  // Replaces the models line ("This programmer supports Kestal only.").
  void SetModelsInfo(const QString& line);

  // What clicking the web site and e-mail labels opens.
  QString WebUrl() const;
  QString MailUrl() const;

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  QString modelName_;
  QPlainTextEdit* mmoHeading_;
  QPlainTextEdit* mmoModelsInfo_;
  QLabel* lblVersion_;
  QLabel* lblBuildDate_;
  QLabel* lblCompanyInfo_;
  ClickLabel* lblWebSite_;
  ClickLabel* lblEmail_;
  QPushButton* btnClose_;
};
