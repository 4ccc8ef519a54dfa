// The channel panel: stepping with auto-repeat, returning to the channel,
// the alignment frequencies, PTT, squelch, and the page change.
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "alignreadings.h"
#include "formalign.h"
#include "controls.h"

void TformAlign::ShowChannel() {
  const ChannelView& view = bench_.RefreshView();
  SetSpokenText(lblBank, "Channel bank", QString::fromStdString(view.bank));
  editChannel->setText(QString::fromStdString(view.number));
  SetSpokenText(lblRxFreq, "Channel frequency",
                QString::fromStdString(MegahertzText(view.frequencyHz)));
  SetSpokenText(lblChannelAlpha, "Channel name", QString::fromStdString(view.text));
  lblSQL->setVisible(bench_.Busy());
}

void TformAlign::SetChannelColour(bool onChannel) {
  // White while the radio is on the channel, silver on an alignment frequency.
  editChannel->setStyleSheet(onChannel ? "background-color: white; color: black"
                                       : "background-color: silver; color: black");
  editChannel->setProperty("onChannel", onChannel);
}

void TformAlign::ClearAlignmentFrequency() {
  alignmentFreqs_->setExclusive(false);
  for (QAbstractButton* b : alignmentFreqs_->buttons()) b->setChecked(false);
  alignmentFreqs_->setExclusive(true);
}

void TformAlign::StepButtonPressed(int direction) {
  btnPTT->setEnabled(true);
  repeatDirection_ = direction;
  StepOnce();
  KeyTimer->start(500);
  SetChannelColour(true);
  ClearAlignmentFrequency();
}

void TformAlign::KeyTimerTimer() {
  KeyTimer->setInterval(100);
  StepOnce();
}

void TformAlign::StepOnce() {
  if (!Radio([this] { bench_.Step(repeatDirection_ == 1); })) return;
  lblDebugChannelNumber->setText(QString::number(bench_.RawChannel()));
  ShowChannel();
}

void TformAlign::editChannelClick() {
  SetChannelColour(true);
  ClearAlignmentFrequency();
  Radio([this] { bench_.ReturnToChannel(); });
  ShowChannel();
}

void TformAlign::rgAlignmentFreqClick(int index) {
  if (index < 0) return;
  Radio([this, index] { bench_.TuneAlignmentFrequency(index); });
  SetChannelColour(false);
}

void TformAlign::ShowTxRx() {
  const bool tx = bench_.Transmitting();
  SetQuietly(btnPTT, tx);
  SetSpokenText(panelTxRx, "Transmit or receive", tx ? "TRANSMIT" : "RECEIVE");
  panelTxRx->setStyleSheet(tx ? "background-color: red; color: black; font-weight: bold"
                              : "background-color: lime; color: black; font-weight: bold");
}

void TformAlign::btnPTTClick(bool on) {
  const int value = !on                          ? kPttOff
                    : pttMics_->checkedId() == 1 ? kPttExternal
                                                 : kPttInternal;
  Radio([this, value] { bench_.SetPtt(value); });
  ShowTxRx();
}

void TformAlign::btnSquelchClick() {
  Radio([this] { bench_.ToggleSquelch(); });
  lblSQL->setVisible(bench_.Busy());
}

void TformAlign::PageControl1Change(int) {
  readings_->StopFrequencyError();
  rgAlignmentFreq->setEnabled(PageControl1->currentWidget() == TabSheetReceiver);
}
