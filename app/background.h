#pragma once
// The main window's full-window pictures: one drawing of a compact CB
// radio, coloured and labelled per model family.

#include <QPixmap>
#include <QWidget>
#include <memory>

class QSvgRenderer;

struct BackgroundStyle {
  const char* objectName;  // imgBackgroundKestal, ...
  const char* accent;      // trim colour
  const char* lcd;         // display colour
  const char* label;       // model label on the front panel
};

// The six pictures, vanilla first.
const BackgroundStyle* BackgroundStyles(int& count);
// The pictures shown for a build model flag (127 keeps the vanilla one);
// the names are objectNames from BackgroundStyles. Flag 64 (Kestal-BT)
// also shows the "BT" label, which the window handles.
QStringList BackgroundsForModelFlag(uint32_t modelFlag);

// The style of the build's picture (the vanilla one when it shows none).
const BackgroundStyle& BackgroundStyleForModelFlag(uint32_t modelFlag);

// The main window holds one picture per family and shows one, so a
// picture reads its drawing only when first painted, and keeps the
// painted result: a repaint or a grab of an unchanged size is a copy.
class BackgroundPicture : public QWidget {
 public:
  // viewBox: the part of the drawing to show; empty for all of it.
  BackgroundPicture(const BackgroundStyle& style, QWidget* parent, const QRectF& viewBox = {});
  ~BackgroundPicture() override;

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  QSvgRenderer& Renderer();

  BackgroundStyle style_;
  QRectF viewBox_;
  std::unique_ptr<QSvgRenderer> renderer_;
  QPixmap painted_;
};
