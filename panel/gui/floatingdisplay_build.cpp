// Building the panel: the drawing, the LCD with its labels, and the key
// buttons over the drawn keys.

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSvgWidget>
#include <QTimer>

#include "floatingdisplay.h"
#include "panellayouts.h"

// The drawings live in this static library's resources, which a program
// only sees once they are registered.
static void RegisterPanelResources() { Q_INIT_RESOURCE(panel); }

void FloatingDisplay::TimerAdapter::Start(int ms) { timer_->start(ms); }
void FloatingDisplay::TimerAdapter::Stop() { timer_->stop(); }

namespace {
constexpr const char* kLcdInk = "#14202a";

QTimer* NewTimer(QObject* parent, const char* name) {
  auto* timer = new QTimer(parent);
  timer->setObjectName(name);
  return timer;
}
}  // namespace

void FloatingDisplay::BuildPicture() {
  static const bool registered = (RegisterPanelResources(), true);
  (void)registered;
  auto* picture = new QSvgWidget(LayoutOf(model_).picture, this);
  picture->setObjectName(model_.pictureName);
  picture->setGeometry(0, 0, model_.width, model_.height);
  picture->setAccessibleName(model_.caption);
}

QLabel* FloatingDisplay::AddLcdLabel(const QString& name, const QString& caption, int pixels,
                                     bool digit) {
  auto* label = new QLabel(caption, lcdPanel_);
  label->setObjectName(name);
  label->setGeometry(LayoutOf(model_).lcdLabels.value(name));
  label->setAlignment(Qt::AlignCenter);
  // The radio's digits are tall and narrow.
  QFont font(digit ? "DejaVu Sans Condensed" : "DejaVu Sans");
  font.setPixelSize(pixels);
  if (digit) {
    font.setBold(true);
    font.setStretch(QFont::Condensed);
  }
  label->setFont(font);
  label->setStyleSheet(QString("color: %1; background: transparent;").arg(kLcdInk));
  return label;
}

void FloatingDisplay::BuildLcd() {
  const PanelLayout& layout = LayoutOf(model_);
  lcdPanel_ = new QFrame(this);
  lcdPanel_->setObjectName("LCDPanel");
  lcdPanel_->setAccessibleName("Display");
  lcdPanel_->setGeometry(layout.lcd);
  lcdPanel_->setAutoFillBackground(true);
  lcdPanel_->setFrameShape(QFrame::Box);
  SetLcdColour(kLcdGrey);

  const char* digitAccessible[2] = {"Channel digit 1", "Channel digit 2"};
  for (int i = 0; i < 2; ++i) {
    digits_[i] = AddLcdLabel(QString("LCDChDigit%1").arg(i + 1), "C", layout.digitPixels, true);
    digits_[i]->setAccessibleName(digitAccessible[i]);
  }
  if (model_.alpha) {
    for (int i = 0; i < 5; ++i) {
      alpha_[i] = AddLcdLabel(QString("LCDAlphaChar%1").arg(i + 1), "A", layout.alphaPixels, true);
      alpha_[i]->setAccessibleName(QString("Alpha character %1").arg(i + 1));
    }
  }
  for (const LcdIcon* icon : IconsOf(model_)) {
    QLabel* label = AddLcdLabel(icon->label, icon->caption, layout.iconPixels, false);
    label->setAccessibleName(icon->caption);
    icons_.push_back(label);
  }
  if (model_.priAndBars) {
    for (const std::string& name : DarkSegmentNames()) {
      const bool pri = name == "LCDPri";
      QLabel* segment = AddLcdLabel(QString::fromStdString(name), pri ? "PRI" : "",
                                    layout.iconPixels, false);
      if (!pri) segment->setStyleSheet(QString("background: %1;").arg(kLcdInk));
      segment->hide();
      dark_.push_back(segment);
    }
  }

  flashingTimer_ = NewTimer(this, "FlashingTimer");
  connect(flashingTimer_, &QTimer::timeout, this, &FloatingDisplay::FlashingTimerTimer);
}

void FloatingDisplay::BuildKeys() {
  repeatTimer_ = NewTimer(this, "ChAutoRepTimer");
  holdTimer_ = NewTimer(this, "FrontPanelButtonDownTimer");
  repeatAdapter_ = std::make_unique<TimerAdapter>(repeatTimer_);
  holdAdapter_ = std::make_unique<TimerAdapter>(holdTimer_);
  // Sent without waiting for an answer; a lost key event is not reported.
  keys_ = std::make_unique<FrontPanelKeys>(
      [this](int code, int event) { radio_.SendFrontPanelKey(code, event); }, *repeatAdapter_,
      *holdAdapter_);
  connect(repeatTimer_, &QTimer::timeout, this, [this] { keys_->RepeatTick(); });
  connect(holdTimer_, &QTimer::timeout, this, [this] { keys_->HoldTick(); });

  const PanelLayout& layout = LayoutOf(model_);
  for (const PanelKey& key : PanelKeys()) {
    if (key.dravoOnly && !model_.dravoKeys) continue;
    auto* button = new QPushButton(key.caption, this);
    button->setObjectName(key.button);
    button->setProperty("Tag", key.code);
    button->setAccessibleName(key.accessible);
    button->setToolTip(key.accessible);
    button->setGeometry(layout.keys.value(key.button));
    button->setFocusPolicy(Qt::StrongFocus);
    button->setCursor(Qt::PointingHandCursor);
    // Space works like the mouse: down on press, up on release.
    connect(button, &QPushButton::pressed, this, [this, code = key.code] { keys_->Down(code); });
    connect(button, &QPushButton::released, this, [this, code = key.code] { keys_->Up(code); });
  }
  setStyleSheet(
      "QPushButton { background: transparent; border: none; color: #f2f2f2;"
      " font: bold 13px 'DejaVu Sans'; }"
      "QPushButton:pressed { background: rgba(255, 255, 255, 60); border-radius: 6px; }"
      "QPushButton:focus { border: 2px solid #ffd24a; border-radius: 6px; }");
}
