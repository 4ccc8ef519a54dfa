#include "windowfit.h"

#include <algorithm>

WindowFit FitWindow(const QSize& wanted, const QRect& available, const QMargins& frame) {
  const QSize room = available.size().shrunkBy(frame).expandedTo(QSize(0, 0));
  WindowFit fit;
  fit.size = wanted.boundedTo(room);
  fit.scrolls = fit.size != wanted;
  const QRect outer(QPoint(0, 0), fit.size.grownBy(frame));
  const QPoint centred = available.center() - outer.center();
  // Never above or left of the available area: that is where the title bar
  // and the menu bar are.
  fit.position.setX(std::max(available.left(),
                             std::min(centred.x(), available.right() + 1 - outer.width())));
  fit.position.setY(std::max(available.top(),
                             std::min(centred.y(), available.bottom() + 1 - outer.height())));
  return fit;
}
