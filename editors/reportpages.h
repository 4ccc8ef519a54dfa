#pragma once
// Laying the report out on printed pages, and the PDF vornprog writes.
// The margins and the line pitch are fixed distances on paper (a third of
// an inch and 9.6 points), so every printer gives the same page; a page
// takes as many lines as fit between the top and bottom margins, and the
// next line starts a new page.

#include <cstdint>
#include <string>
#include <vector>

inline constexpr double kReportMarginInch = 200.0 / 600.0;
inline constexpr double kReportPitchInch = 80.0 / 600.0;
// The fixed-pitch font's size, to fit in the pitch with room between lines.
inline constexpr double kReportFontPoints = 8.0;

struct ReportPageLayout {
  double margin = 0;  // left and top, in device units
  double pitch = 0;   // from one line to the next
  int linesPerPage = 1;
};

// For a printable area `height` device units tall at `dotsPerInch`. A page
// always takes at least one line, however small it is.
ReportPageLayout LayOutReportPage(double height, double dotsPerInch);

// The first line of each page, for `lineCount` lines.
std::vector<int> ReportPageStarts(int lineCount, int linesPerPage);

// A4 portrait in points, the PDF's page.
inline constexpr double kPdfPageWidth = 595.0;
inline constexpr double kPdfPageHeight = 842.0;

// The report as a PDF document: A4 pages in Courier. Characters Latin-1
// lacks print as "?".
std::string ReportPdf(const std::vector<std::string>& lines);

// Writes ReportPdf to `path` in one step; `reason` as for SaveReport.
bool SaveReportPdf(const std::string& path, const std::vector<std::string>& lines,
                   std::string& reason);
