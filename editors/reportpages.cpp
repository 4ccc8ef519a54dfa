#include "reportpages.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "userfile.h"

ReportPageLayout LayOutReportPage(double height, double dotsPerInch) {
  ReportPageLayout layout;
  layout.margin = kReportMarginInch * dotsPerInch;
  layout.pitch = kReportPitchInch * dotsPerInch;
  // The same margin below the last line as above the first.
  const double room = height - 2 * layout.margin;
  const int fit = layout.pitch > 0 ? static_cast<int>(std::floor(room / layout.pitch)) : 1;
  layout.linesPerPage = std::max(1, fit);
  return layout;
}

std::vector<int> ReportPageStarts(int lineCount, int linesPerPage) {
  std::vector<int> starts;
  const int step = std::max(1, linesPerPage);
  for (int first = 0; first < lineCount; first += step) starts.push_back(first);
  return starts;
}

namespace {

// One line of UTF-8 as a PDF string in WinAnsi (Latin-1) encoding.
std::string PdfString(const std::string& utf8) {
  std::string out = "(";
  for (size_t i = 0; i < utf8.size();) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    unsigned code = byte;
    size_t length = 1;
    if (byte >= 0xC0 && byte < 0xE0 && i + 1 < utf8.size()) {
      code = ((byte & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
      length = 2;
    } else if (byte >= 0x80) {
      code = '?';
      length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 1;
    }
    i += length;
    if (code > 0xFF || (code >= 0x80 && code < 0xA0) || code < 0x20) code = '?';
    if (code == '(' || code == ')' || code == '\\') out += '\\';
    if (code >= 0x80) {
      char octal[8];
      std::snprintf(octal, sizeof octal, "\\%03o", code);
      out += octal;
    } else {
      out += static_cast<char>(code);
    }
  }
  return out + ")";
}

class PdfDocument {
 public:
  // Objects are numbered from 1 in the order they are added.
  int Add(const std::string& body) {
    offsets_.push_back(0);
    bodies_.push_back(body);
    return static_cast<int>(bodies_.size());
  }
  void Set(int object, const std::string& body) { bodies_[static_cast<size_t>(object - 1)] = body; }

  std::string Finish(int root) {
    std::string out = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    for (size_t i = 0; i < bodies_.size(); ++i) {
      offsets_[i] = out.size();
      out += std::to_string(i + 1) + " 0 obj\n" + bodies_[i] + "\nendobj\n";
    }
    const size_t xref = out.size();
    out += "xref\n0 " + std::to_string(bodies_.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets_) {
      char entry[24];
      std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
      out += entry;
    }
    out += "trailer\n<< /Size " + std::to_string(bodies_.size() + 1) + " /Root " +
           std::to_string(root) + " 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return out;
  }

 private:
  std::vector<std::string> bodies_;
  std::vector<size_t> offsets_;
};

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

}  // namespace

std::string ReportPdf(const std::vector<std::string>& lines) {
  constexpr double kPointsPerInch = 72.0;
  const ReportPageLayout layout = LayOutReportPage(kPdfPageHeight, kPointsPerInch);
  PdfDocument pdf;
  const int catalog = pdf.Add("");
  const int pages = pdf.Add("");
  const int font =
      pdf.Add("<< /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding /WinAnsiEncoding >>");
  std::string kids;
  std::vector<int> starts = ReportPageStarts(static_cast<int>(lines.size()), layout.linesPerPage);
  if (starts.empty()) starts.push_back(0);  // a document has at least one page
  for (int first : starts) {
    const int last = std::min(static_cast<int>(lines.size()), first + layout.linesPerPage);
    // The first baseline sits one font height below the top margin.
    std::string content = "BT\n/F1 " + Number(kReportFontPoints) + " Tf\n" + Number(layout.pitch) +
                          " TL\n" + Number(layout.margin) + " " +
                          Number(kPdfPageHeight - layout.margin - kReportFontPoints) + " Td\n";
    for (int i = first; i < last; ++i) content += PdfString(lines[static_cast<size_t>(i)]) + " Tj T*\n";
    content += "ET";
    const int stream = pdf.Add("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" +
                               content + "\nendstream");
    const int page = pdf.Add("<< /Type /Page /Parent " + std::to_string(pages) +
                             " 0 R /MediaBox [0 0 " + Number(kPdfPageWidth) + " " +
                             Number(kPdfPageHeight) + "] /Resources << /Font << /F1 " +
                             std::to_string(font) + " 0 R >> >> /Contents " +
                             std::to_string(stream) + " 0 R >>");
    kids += std::to_string(page) + " 0 R ";
  }
  pdf.Set(catalog, "<< /Type /Catalog /Pages " + std::to_string(pages) + " 0 R >>");
  pdf.Set(pages, "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(starts.size()) +
                     " >>");
  return pdf.Finish(catalog);
}

bool SaveReportPdf(const std::string& path, const std::vector<std::string>& lines,
                   std::string& reason) {
  const std::string pdf = ReportPdf(lines);
  return SaveUserFile(path, pdf.data(), pdf.size(), reason);
}
