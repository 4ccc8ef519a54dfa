// Printing the report: the lines in the printer's fixed-pitch font, at the
// margins and pitch the report keeps on paper, page after page.

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

#include "frmreport.h"
#include "reportpages.h"

bool TfrmReport::PrintReport(QPrinter& printer) const {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setStyleHint(QFont::Monospace);
  font.setPointSizeF(kReportFontPoints);
  painter.setFont(QFont(font, &printer));
  const double ascent = QFontMetricsF(painter.font(), &printer).ascent();

  const ReportPageLayout page = LayOutReportPage(printer.height(), printer.logicalDpiY());
  const std::vector<int> starts = ReportPageStarts(static_cast<int>(lines_.size()), page.linesPerPage);
  bool ok = true;
  for (size_t p = 0; p < starts.size() && ok; ++p) {
    if (p > 0) ok = printer.newPage();
    const int first = starts[p];
    const int last = std::min(static_cast<int>(lines_.size()), first + page.linesPerPage);
    for (int i = first; i < last && ok; ++i)
      painter.drawText(QPointF(page.margin, page.margin + ascent + (i - first) * page.pitch),
                       QString::fromStdString(lines_[static_cast<size_t>(i)]));
  }
  return painter.end() && ok;
}
