#pragma once
// The main window's full-window pictures: one drawing of a compact CB
// radio, coloured and labelled per model family.

#include <QSvgRenderer>
#include <QWidget>

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

class BackgroundPicture : public QWidget {
 public:
  // viewBox: the part of the drawing to show; empty for all of it.
  BackgroundPicture(const BackgroundStyle& style, QWidget* parent, const QRectF& viewBox = {});

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  QSvgRenderer renderer_;
};
