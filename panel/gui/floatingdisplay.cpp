#include "floatingdisplay.h"

#include "controls.h"
#include <QCloseEvent>
#include <QKeyEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include "radio.h"

FloatingDisplay::FloatingDisplay(const PanelModel& model, WindowContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      model_(model),
      radio_(context.shared.radio) {
  setObjectName(model.className);
  setWindowTitle(model.caption);
  setAccessibleName(model.caption);
  setFixedSize(model.width, model.height);
  BuildPicture();
  if (!model.live) return;
  BuildLcd();
  BuildKeys();
}

FloatingDisplay::~FloatingDisplay() {
  receiver_.Detach();
  if (registered_) {
    // The engine may be about to post to us: unregister, then take the
    // engine's lock once, so a frame being handled has finished with the
    // old receiver before it goes.
    radio_.SetDisplayWindow(nullptr);
    radio_.ProtocolI().CopyBacklight();
  }
}

void FloatingDisplay::ShowPanel() {
  if (!shownBefore_) {
    shownBefore_ = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
      move(screen->availableGeometry().center() - rect().center());
  }
  if (model_.live) {
    repeatTimer_->stop();
    radio_.SetDisplayWindow(&receiver_);
    registered_ = true;
    PollRadio();
    // Until the radio answers, the state the radio object already holds.
    radio_.FetchDisplay();
    radio_.FetchBacklight();
    RedrawDisplay();
    RedrawBacklight();
    flashingTimer_->start(kFlashingMs);
  }
  show();
  raise();
  // Shown from the keyboard, it is where the keys go next: its first key
  // (or the window itself, for a picture alone) takes the focus.
  activateWindow();
  for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
    if (isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(this) &&
        w->isEnabled()) {
      w->setFocus(Qt::ActiveWindowFocusReason);
      return;
    }
  }
  setFocus(Qt::ActiveWindowFocusReason);
}

// Escape closes it, as it closes every other window of the program.
void FloatingDisplay::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(e);
}

void FloatingDisplay::PollRadio() {
  if (model_.pollArgument >= 0) radio_.PollDisplay(static_cast<uint8_t>(model_.pollArgument));
}

void FloatingDisplay::DisplayRequest() {
  if (model_.live) PollRadio();
}

namespace {
QString DigitRole(int i) { return QString("Channel digit %1").arg(i + 1); }
QString AlphaRole(int i) { return QString("Alpha character %1").arg(i + 1); }
}  // namespace

void FloatingDisplay::RadioLost() {
  if (!model_.live) return;
  SetLcdColour(kLcdGrey);
  for (int i = 0; i < 2; ++i) SetSpokenText(digits_[i], DigitRole(i), QString());
  if (model_.alpha)
    for (int i = 0; i < 5; ++i) SetSpokenText(alpha_[i], AlphaRole(i), QString());
  for (QLabel* icon : icons_) icon->hide();
  for (QLabel* segment : dark_) segment->hide();
  SpeakDisplay();
}

void FloatingDisplay::RedrawDisplay() {
  view_ = ViewOf(radio_, model_);
  for (int i = 0; i < 2; ++i) {
    SetSpokenText(digits_[i], DigitRole(i), QString::fromStdString(view_.digits[i]));
    digits_[i]->show();
  }
  if (model_.alpha) {
    for (int i = 0; i < 5; ++i) {
      SetSpokenText(alpha_[i], AlphaRole(i), QString::fromStdString(view_.alpha[i]));
      alpha_[i]->show();
    }
  }
  for (size_t i = 0; i < icons_.size(); ++i) icons_[i]->setVisible(view_.iconLit[i]);
  // Nothing in the radio's display frames drives these.
  for (QLabel* segment : dark_) segment->hide();
  SpeakDisplay();
}

// The whole display in one breath, as a glance reads it: "Display: 42
// CB-42 Dup", not only one character per label.
void FloatingDisplay::SpeakDisplay() {
  QString channel;
  for (QLabel* d : digits_) channel += d->text();
  QString alpha;
  if (model_.alpha)
    for (QLabel* a : alpha_) alpha += a->text();
  QStringList parts = {channel, alpha.trimmed()};
  for (QLabel* icon : icons_)
    if (!icon->isHidden()) parts << icon->accessibleName();
  parts.removeAll(QString());
  SetSpokenText(lcdPanel_, "Display", parts.join(' '));
}

void FloatingDisplay::RedrawBacklight() { SetLcdColour(BacklightOnOffColour(radio_.Display().GetBacklight())); }

void FloatingDisplay::RedrawBacklightColour() {
  SetLcdColour(BacklightColourOf(radio_.Display().GetBacklightColour()));
}

void FloatingDisplay::SetLcdColour(const LcdColour& colour) {
  QPalette p = lcdPanel_->palette();
  p.setColor(QPalette::Window, QColor(colour.red, colour.green, colour.blue));
  lcdPanel_->setPalette(p);
}

QColor FloatingDisplay::LcdPanelColour() const {
  return lcdPanel_ ? lcdPanel_->palette().color(QPalette::Window) : QColor();
}

void FloatingDisplay::FlashingTimerTimer() {
  flashPhase_ = !flashPhase_;
  for (int i = 0; i < 2; ++i)
    if (view_.digitFlashing[i]) digits_[i]->setVisible(flashPhase_);
  if (!model_.alpha) return;
  for (int i = 0; i < 5; ++i)
    if (view_.alphaFlashing[i]) alpha_[i]->setVisible(flashPhase_);
}

bool FloatingDisplay::event(QEvent* e) {
  if (e->type() != PanelMessageReceiver::EventType()) return QWidget::event(e);
  const PanelMessageReceiver::Pending news = receiver_.Take();
  if (!model_.live) return true;
  if (news.display) {
    radio_.FetchDisplay();
    RedrawDisplay();
  }
  // The later of the two backlight kinds sets the colour.
  const auto backlight = [&] {
    radio_.FetchBacklight();
    RedrawBacklight();
  };
  const auto colour = [&] {
    radio_.FetchBacklightColour();
    RedrawBacklightColour();
  };
  if (news.backlight && news.colour) {
    if (news.colourLast) {
      backlight();
      colour();
    } else {
      colour();
      backlight();
    }
  } else if (news.backlight) {
    backlight();
  } else if (news.colour) {
    colour();
  }
  return true;
}

void FloatingDisplay::closeEvent(QCloseEvent* e) {
  if (keys_) keys_->Stop();
  if (flashingTimer_) flashingTimer_->stop();
  if (closed_) closed_();
  QWidget::closeEvent(e);
}
