#include "leadreport.h"

#include <cstdio>
#include <fstream>

#include "leadline.h"
#include "serialport.h"

namespace {

std::string JsonText(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default:
        if (c < 0x20) {
          char esc[8];
          std::snprintf(esc, sizeof esc, "\\u%04x", c);
          out += esc;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

// A value udev takes between double quotes: printable, no quote, no
// backslash, no glob character that would widen the match.
bool UdevSafe(const std::string& value) {
  if (value.empty()) return false;
  for (unsigned char c : value)
    if (c < 0x20 || c > 0x7E || c == '"' || c == '\\' || c == '*' || c == '?' || c == '[' || c == ']')
      return false;
  return true;
}

}  // namespace

DoctorReport RunLeadDoctor(const SystemRoot& root, SerialPort& port, TRadio& radio, const std::string& named,
                           const BuildConfig& build, const std::vector<std::string>& extraDevices) {
  DoctorReport report;
  report.devices = PortsToDiagnose(root, named, extraDevices);
  report.findings = DiagnoseUsbAdapters(root);
  if (report.devices.empty())
    report.findings.push_back({FindingKind::kNoPorts, FindingLevel::kFault, "", "no serial ports found",
                               "plug the lead in; sudo dmesg | tail shows whether the system saw it"});
  for (const std::string& device : report.devices) {
    if (device.empty()) {
      report.findings.push_back({FindingKind::kNoSuchDevice, FindingLevel::kFault, named,
                                 "no such port", "name a port that vornprog ports lists"});
      continue;
    }
    std::vector<Finding> found = DiagnoseDevice(root, device);
    const bool exists = found.empty() || found.front().kind != FindingKind::kNoSuchDevice;
    report.findings.insert(report.findings.end(), found.begin(), found.end());
    if (!exists) continue;
    LineDiagnosis line = DiagnoseLine(port, radio, root.At(device), build);
    for (Finding& f : line.findings) f.subject = device;
    report.findings.insert(report.findings.end(), line.findings.begin(), line.findings.end());
    report.radioFound |= line.radioFound;
  }
  return report;
}

std::string FindingLine(const Finding& f) {
  std::string line = FindingLevelText(f.level);
  line.resize(7, ' ');
  if (!f.subject.empty()) line += f.subject + ": ";
  line += f.text;
  if (!f.remedy.empty()) line += " -- do: " + f.remedy;
  return line;
}

std::vector<std::string> ReportLines(const DoctorReport& report) {
  std::vector<std::string> lines;
  for (const Finding& f : report.findings) lines.push_back(FindingLine(f));
  lines.push_back(report.radioFound ? "A radio of this program's model answers."
                                    : "No radio of this program's model answers.");
  return lines;
}

std::string ReportJson(const DoctorReport& report, const BuildConfig& build) {
  std::string title = TitleText(build);
  while (!title.empty() && title.back() == ' ') title.pop_back();
  std::string json = "{\n  \"program\": " + JsonText(title) + ",\n";
  json += "  \"model\": " + JsonText(build.modelName) + ",\n";
  json += "  \"radioFound\": " + std::string(report.radioFound ? "true" : "false") + ",\n";
  json += "  \"ports\": [";
  for (size_t i = 0; i < report.devices.size(); ++i)
    json += (i ? ", " : "") + JsonText(report.devices[i]);
  json += "],\n  \"findings\": [";
  for (size_t i = 0; i < report.findings.size(); ++i) {
    const Finding& f = report.findings[i];
    json += i ? ",\n    " : "\n    ";
    json += "{\"check\": " + JsonText(FindingKey(f.kind)) + ", \"level\": " +
            JsonText(f.level == FindingLevel::kFault ? "fault" : FindingLevelText(f.level)) +
            ", \"subject\": " + JsonText(f.subject) + ", \"text\": " + JsonText(f.text) +
            ", \"remedy\": " + JsonText(f.remedy) + "}";
  }
  json += report.findings.empty() ? "]\n}\n" : "\n  ]\n}\n";
  return json;
}

std::string TraceTail(const std::string& path, size_t maxBytes) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return {};
  const std::streamoff size = in.tellg();
  const std::streamoff start = size > static_cast<std::streamoff>(maxBytes) ? size - static_cast<std::streamoff>(maxBytes) : 0;
  in.seekg(start);
  std::string text(static_cast<size_t>(size - start), '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<size_t>(in.gcount()));
  if (start > 0) {
    const size_t newline = text.find('\n');
    text = newline == std::string::npos ? std::string() : text.substr(newline + 1);
  }
  return text;
}

std::string SavedReportText(const DoctorReport& report, const BuildConfig& build, const std::string& traceTail) {
  std::string text = "Check Lead report\n" + VersionReport(build, "Programmer") + "\n";
  if (text.back() != '\n') text += "\n";
  text += "\n";
  for (const std::string& line : ReportLines(report)) text += line + "\n";
  if (!traceTail.empty()) {
    text += "\nLast serial traffic (trace):\n" + traceTail;
    if (text.back() != '\n') text += "\n";
  }
  return text;
}

bool UdevRuleFor(const UsbAdapter& usb, std::string& rule, std::string& why) {
  if (!usb.present) {
    why = "it is not a USB adapter";
    return false;
  }
  if (!UdevSafe(usb.vendorId) || !UdevSafe(usb.productId)) {
    why = "its USB IDs cannot be read";
    return false;
  }
  const bool pinSerial = UdevSafe(usb.serial);
  std::string name = usb.vendorId + ":" + usb.productId;
  for (const std::string* part : {&usb.maker, &usb.product})
    if (!part->empty() && UdevSafe(*part)) name += " " + *part;
  rule = "# The Vorn programming lead: " + name + ".\n";
  if (pinSerial)
    rule += "# Pinned to its serial number " + usb.serial + "; another lead needs a rule of its own.\n";
  else
    rule += "# The adapter reports no serial number: the rule fits every adapter with these IDs.\n";
  rule += "SUBSYSTEM==\"tty\", ATTRS{idVendor}==\"" + usb.vendorId + "\", ATTRS{idProduct}==\"" +
          usb.productId + "\", ";
  if (pinSerial) rule += "ATTRS{serial}==\"" + usb.serial + "\", ";
  rule += "GROUP=\"dialout\", MODE=\"0660\", ENV{ID_MM_DEVICE_IGNORE}=\"1\", SYMLINK+=\"" +
          std::string(kLeadLinkName) + "\"\n";
  return true;
}
