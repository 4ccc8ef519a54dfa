#pragma once
// Where a fixed-size window goes on its screen. A scaled screen (a scale
// factor of 2 on a 1600x1000 screen leaves 800x500) may be smaller than the
// window: it is then cut to the screen, its content scrolls, and its title
// bar, menu bar and status bar stay on the screen where they can be reached.

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

struct WindowFit {
  QPoint position;       // the frame's top left, as QWidget::move takes it
  QSize size;            // the window without its frame
  bool scrolls = false;  // smaller than wanted: the content must scroll
};

// `wanted`: the window's own size; `available`: the screen less its panels;
// `frame`: what the window manager adds around the window. A window that
// fits is centred; one that does not is cut to fit, and its frame is kept
// inside the available area.
WindowFit FitWindow(const QSize& wanted, const QRect& available, const QMargins& frame);
