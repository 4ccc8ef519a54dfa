#pragma once
// The floating front panel: a small always-on-top window with the radio's
// front panel drawn, an LCD that mirrors the radio's own, and transparent
// buttons over the drawn keys that send key events. The four models'
// windows differ only in their PanelModel and layout; the Pinto's is a
// picture and nothing else.

#include <QHash>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "windowcontext.h"
#include "lcdview.h"
#include "panelkeys.h"
#include "panelmodels.h"
#include "panelreceiver.h"

class QLabel;
class QPushButton;
class QTimer;
class QFrame;

class FloatingDisplay : public QWidget {
  Q_OBJECT
 public:
  FloatingDisplay(const PanelModel& model, WindowContext& context, QWidget* parent);
  ~FloatingDisplay() override;

  // The main window's operations. ShowPanel shows the window and asks the
  // radio for its display; RadioLost blanks the LCD; DisplayRequest asks
  // the radio for its display again. Closing is close().
  void ShowPanel();
  void RadioLost();
  void DisplayRequest();
  void ClosePanel() { close(); }
  // Runs whenever the window closes, by its frame or by the main window.
  void SetClosedHandler(std::function<void()> handler) { closed_ = std::move(handler); }

  const PanelModel& Model() const { return model_; }
  QColor LcdPanelColour() const;
  bool FlashPhase() const { return flashPhase_; }

 protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  // FrontPanelKeys' timers, as QTimers of this window.
  class TimerAdapter : public KeyTimer {
   public:
    explicit TimerAdapter(QTimer* timer) : timer_(timer) {}
    void Start(int ms) override;
    void Stop() override;

   private:
    QTimer* timer_;
  };

  // Construction (floatingdisplay_build.cpp).
  void BuildPicture();
  void BuildLcd();
  void BuildKeys();
  QLabel* AddLcdLabel(const QString& name, const QString& caption, int pixels, bool digit);

  void RedrawDisplay();
  void SpeakDisplay();
  void RedrawBacklight();
  void RedrawBacklightColour();
  void SetLcdColour(const LcdColour& colour);
  void FlashingTimerTimer();
  void PollRadio();

  const PanelModel& model_;
  TRadio& radio_;
  PanelMessageReceiver receiver_{this};
  bool registered_ = false;
  bool shownBefore_ = false;
  bool flashPhase_ = false;
  std::function<void()> closed_;

  QFrame* lcdPanel_ = nullptr;
  QLabel* digits_[2] = {};
  QLabel* alpha_[5] = {};
  std::vector<QLabel*> icons_;  // in IconsOf(model_) order
  std::vector<QLabel*> dark_;   // the Kestal's "PRI" and signal bars
  QTimer* flashingTimer_ = nullptr;
  QTimer* repeatTimer_ = nullptr;
  QTimer* holdTimer_ = nullptr;
  std::unique_ptr<TimerAdapter> repeatAdapter_, holdAdapter_;
  std::unique_ptr<FrontPanelKeys> keys_;
  LcdView view_;
};
