#include "progressbar.h"

#include <algorithm>
#include <cstdio>

namespace {
long Span(int minimum, int maximum) { return std::max(1L, static_cast<long>(maximum) - minimum); }
long Done(int value, int minimum, int maximum) {
  return std::clamp(static_cast<long>(value) - minimum, 0L, Span(minimum, maximum));
}
}  // namespace

int ProgressPercent(int value, int minimum, int maximum) {
  return static_cast<int>(Done(value, minimum, maximum) * 100 / Span(minimum, maximum));
}

std::string ProgressBarLine(const std::string& caption, int value, int minimum, int maximum,
                            int barWidth) {
  const int filled = static_cast<int>(Done(value, minimum, maximum) * barWidth / Span(minimum, maximum));
  const int percent = ProgressPercent(value, minimum, maximum);
  char tail[8];
  std::snprintf(tail, sizeof tail, "%4d%%", percent);
  return caption + " [" + std::string(static_cast<size_t>(filled), '#') +
         std::string(static_cast<size_t>(barWidth - filled), ' ') + "]" + tail;
}
