#include "leadline.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "memfile.h"
#include "portlist.h"
#include "radio.h"
#include "radioinfo.h"
#include "radioprobe.h"
#include "serialport.h"

namespace {

// Bytes outside both protocols' framing (7D-7F, AA, CC), so a radio on
// the lead ignores them.
constexpr uint8_t kEchoProbe[] = {'V', 'o', 'r', 'n', 'L', 'e', 'a', 'd'};
// Long enough for bytes to go out and back at 9600 baud on a busy machine.
constexpr int kEchoWaitMs = 400;
constexpr uint32_t kLineRate = 9600;

std::string ModelNameOf(uint32_t productId) {
  int row = 0;
  uint32_t flag = 0;
  std::string name;
  return FindModel(productId, row, flag, name) && row != 0 ? name : std::string();
}

std::string RadioDescription(const ProbeResult& r) {
  std::string text;
  if (r.productIdRead) text += "product ID " + HexId(static_cast<uint32_t>(r.productId));
  if (r.firmwareRead) text += std::string(text.empty() ? "" : ", ") + "firmware \"" + r.firmwareText + "\"";
  if (r.hasVersion) text += " " + r.versionText;
  return text;
}

std::string AnsweringModel(const ProbeResult& r) {
  const std::string name = r.productIdRead ? ModelNameOf(static_cast<uint32_t>(r.productId)) : "";
  if (!name.empty()) return name;
  return r.firmwareRead && !r.firmwareText.empty() ? r.firmwareText : "radio of an unknown model";
}

std::string WillNotOpenRemedy(int errorNumber) {
  switch (errorNumber) {
    case EACCES:
    case EPERM:
      return "this user may not open it: see the group finding above";
    case EBUSY:
      return "another program holds it exclusively: close it (sudo fuser -v on the device names it)";
    case ENOENT:
    case ENODEV:
    case ENXIO:
      return "the lead went away: plug it in again, firmly, and check again";
    case EIO:
      return "the adapter does not work: unplug and replug it; sudo dmesg | tail tells what the driver says";
    default:
      return "unplug and replug the lead; sudo dmesg | tail tells what the system says";
  }
}

std::string RatesText(const std::vector<uint32_t>& rates) {
  std::string text;
  for (size_t i = 0; i < rates.size(); ++i) {
    if (i) text += i + 1 == rates.size() ? " or " : ", ";
    text += std::to_string(rates[i]);
  }
  return text;
}

}  // namespace

EchoVerdict CheckEcho(const std::string& device, int& errorNumber) {
  errorNumber = 0;
  const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    errorNumber = errno;
    return EchoVerdict::kWillNotOpen;
  }
  termios tio{};
  if (tcgetattr(fd, &tio) == 0) {
    cfmakeraw(&tio);
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    tio.c_cflag |= CLOCAL | CREAD;
    tcsetattr(fd, TCSANOW, &tio);
    tcflush(fd, TCIOFLUSH);
  }
  const ssize_t sent = write(fd, kEchoProbe, sizeof kEchoProbe);
  std::string heard;
  const std::string probe(reinterpret_cast<const char*>(kEchoProbe), sizeof kEchoProbe);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kEchoWaitMs);
  while (sent > 0 && heard.find(probe) == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{fd, POLLIN, 0};
    const int ready = poll(&p, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0 || !(p.revents & POLLIN)) break;
    char buffer[64];
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got <= 0) break;
    heard.append(buffer, static_cast<size_t>(got));
  }
  close(fd);
  return heard.find(probe) != std::string::npos ? EchoVerdict::kEchoes : EchoVerdict::kNoEcho;
}

std::vector<uint32_t> BuildBaudRates(const BuildConfig& build) {
  if (!build.AllModels() && !TradioInfo::HasBaudRateSwitch(build.productId)) return {kLineRate};
  return std::vector<uint32_t>(kBaudRates.begin(), kBaudRates.end());
}

LineDiagnosis DiagnoseLine(SerialPort& port, TRadio& radio, const std::string& device,
                           const BuildConfig& build) {
  LineDiagnosis d;
  int error = 0;
  const EchoVerdict echo = CheckEcho(device, error);
  if (echo == EchoVerdict::kWillNotOpen) {
    d.findings.push_back({FindingKind::kWillNotOpen, FindingLevel::kFault, device,
                          "it will not open: " + std::string(std::strerror(error)), WillNotOpenRemedy(error)});
    return d;
  }
  if (echo == EchoVerdict::kEchoes)
    d.findings.push_back({FindingKind::kEchoes, FindingLevel::kFault, device,
                          "the lead echoes what it sends (its transmit and receive lines are joined)",
                          "use the radio's own programming lead; on the bench, check the lead's wiring "
                          "and that no loopback plug is fitted"});

  const std::vector<uint32_t> rates = BuildBaudRates(build);
  ProbeResult answer;
  uint32_t answeredAt = 0;
  for (uint32_t rate : rates) {
    answer = ProbeDevice(port, radio, device, rate, build);
    if (answer.verdict != ProbeVerdict::kNoRadio) {
      answeredAt = rate;
      break;
    }
  }
  port.Close();

  if (!answeredAt) {
    d.findings.push_back({FindingKind::kSilent, FindingLevel::kFault, device,
                          "no radio answers at " + RatesText(rates) + " baud",
                          "switch the radio on; check the lead is pushed fully into the radio's "
                          "programming socket and that this is the lead's port (unplug it and see "
                          "which port goes: vornprog ports)"});
    return d;
  }
  const std::string model = AnsweringModel(answer);
  const std::string rateText = std::to_string(answeredAt) + " baud";
  if (answer.verdict == ProbeVerdict::kOtherModel) {
    const std::string own = build.AllModels() ? std::string("models it knows") : "the " + build.modelName;
    d.findings.push_back({FindingKind::kOtherModel, FindingLevel::kFault, device,
                          "a " + model + " answers at " + rateText + " (" + RadioDescription(answer) +
                              "): this program is for " + own,
                          "connect a " + build.modelName + "; a " + model +
                              " needs the programmer built for it"});
    return d;
  }
  d.radioFound = true;
  d.findings.push_back({FindingKind::kRadioAnswers, FindingLevel::kOk, device,
                        "a " + model + " answers at " + rateText + " (" + RadioDescription(answer) + ")", ""});
  if (answeredAt != kLineRate)
    d.findings.push_back({FindingKind::kRadioAtOtherRate, FindingLevel::kFault, device,
                          "the radio is still at " + rateText + " from a transfer cut short; the "
                              "programmer starts at 9600",
                          "switch the radio off and on again"});
  return d;
}
