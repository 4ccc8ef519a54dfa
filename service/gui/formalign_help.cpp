// The help area: each group of controls shows its fixed lines when it
// gets the focus or the pointer.
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "alignbindings.h"
#include "aligntrim.h"
#include "windowcontext.h"
#include "formalign.h"
#include "helpmemo.h"
#include "updown.h"

namespace {
QString Lines(AlignHelp group, uint32_t productId) {
  QStringList lines;
  for (const std::string& line : AlignHelpLines(group, productId))
    lines << QString::fromStdString(line);
  return lines.join('\n');
}
}  // namespace

void TformAlign::RegisterHelp() {
  const uint32_t product = context_.build.productId;
  help_ = new HelpMemo(MemoAlignHelp);
  for (QWidget* w : deviationControls_) help_->Add(w, Lines(AlignHelp::kDeviation, product));
  for (QAbstractButton* b : testTones_->buttons())
    help_->Add(b, Lines(AlignHelp::kDeviation, product), HelpMemo::kFocus);
  help_->Add(chkTrackMod, Lines(AlignHelp::kTrackMod, product));
  for (QWidget* w : rfPowerControls_) help_->Add(w, Lines(AlignHelp::kRfPower, product));

  const QString receiver = Lines(AlignHelp::kReceiver, product);
  const QString squelch = Lines(AlignHelp::kSquelch, product);
  const QString frequency = Lines(AlignHelp::kFrequency, product);
  help_->Add(TabSheetReceiver, receiver);
  help_->Add(TabSheetSquelch, squelch);
  help_->Add({TabSheetFrequency, lblTxFreqAdjust, lblRxFreqOffset}, frequency);

  // A page gets no focus of its own: the controls on it bring up its lines
  // when they get the focus, so the keyboard reaches the same help.
  auto pageFocus = [this](QWidget* page, const QString& text) {
    for (QWidget* w : page->findChildren<QWidget*>()) {
      if (w->focusPolicy() != Qt::NoFocus) help_->Add(w, text, HelpMemo::kFocus);
    }
  };
  pageFocus(TabSheetReceiver, receiver);
  pageFocus(TabSheetSquelch, squelch);
  pageFocus(TabSheetFrequency, frequency);

  // The page control, the other pages and the rest of the transmitter
  // page empty the area.
  help_->AddClearer(PageControl1);
  help_->AddClearer(TabSheetTransmit);
  help_->AddClearer(TabSheetSMeter);
  help_->AddClearer(grpSelectPowerOutput);
  help_->AddClearer(gbMicGains);
}
