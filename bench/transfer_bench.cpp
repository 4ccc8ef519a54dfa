// How close the whole-memory transfers come to the serial line's own
// speed. The simulated radio paces every byte at 9600 baud, both the
// requests it receives and the replies it sends; a transfer that adds no
// waiting of its own takes little more than the wire time of its bytes.
//
//   transfer_bench [runs]
//
// For each command: measured time, bytes both ways, their wire time
// (bytes x 10 bits / 9600) and the ratio measured / wire time. Last, the
// cost of a trace file (vornprog --trace): the same paced read with and
// without one, as the ratio traced / untraced (target <= 1.02).

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "buildconfig.h"
#include "bytetrace.h"
#include "eeprom.h"
#include "messagequeue.h"
#include "params.h"
#include "radio.h"
#include "radio_rw.h"
#include "radioinfo.h"
#include "serialport.h"
#include "sharedobjects.h"
#include "simradio.h"

namespace {

using Clock = std::chrono::steady_clock;

// Counts the bytes the serial port sends and receives.
class ByteCounter : public MessageReceiver {
 public:
  void PostMessage(unsigned, intptr_t wParam, intptr_t lParam) override {
    (wParam == 0 ? received : sent) += static_cast<long>(lParam);
  }
  std::atomic<long> received{0}, sent{0};
};

// The user who says OK to everything and watches the progress.
class BenchHost : public TransferHost, public ProgressView {
 public:
  void ShowMessage(const std::string& text, const std::string& caption, PromptIcon) override {
    std::fprintf(stderr, "  [%s] %s\n", caption.c_str(), text.c_str());
  }
  bool AskOkCancel(const std::string&, const std::string&, PromptIcon) override { return true; }
  void ClearRadioPanel() override {}
  void RefreshPortPanels() override {}
  void UpdateStatusBar() override {}
  bool IsFloatingDisplayOn() override { return false; }
  void StopPollTimer() override {}
  void StartPollTimer() override {}
  bool ArrayFlagChecked() override { return false; }
  void SetDataSource(int) override {}
  void UpdateEditButtons() override {}
  void RunTransfer(const ProgressSetup&, const std::function<bool()>& start) override {
    if (start()) result = PumpTransferProgress(queue, *flows, *this);
  }
  void DeliverPendingMessages() override { DeliverQueued(queue, *flows, *this); }
  void SetProgress(int) override {}
  void SetCloseMode() override {}
  void SetActionText(const std::string&) override {}
  void CloseProgress() override {}

  MessageQueue queue;
  TransferFlows* flows = nullptr;
  int result = -1;
};

struct Figures {
  double seconds = 0;
  long bytes = 0;
  int commands = 0;
  double OverheadMs() const { return (seconds - Wire()) * 1000.0 / commands; }
  double Wire() const { return bytes * 10.0 / 9600.0; }
  double Ratio() const { return seconds / Wire(); }
};

class Bench {
 public:
  explicit Bench(const char* family)
      : build_(BuildConfig::ForFamily(family, false)),
        sim_(build_.productId),
        shared_(build_.productId),
        flows_(RadioObjectsOf(shared_, build_), state_, host_, &host_.queue) {
    shared_.info.SelectModel(build_.productId);
    host_.flows = &flows_;
    if (!sim_.Start()) std::exit(2);
    state_.portNumber = shared_.port.Ports().AddExtraDevice(sim_.DevicePath());
    shared_.port.SetMonitor(&counter_, WM_BYTE_MONITOR);
    std::vector<uint8_t> bytes(kImageSize);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    const int pid = shared_.info.GetParamAddress(kParamProductId);
    bytes[static_cast<size_t>(pid)] = static_cast<uint8_t>(build_.productId >> 8);
    bytes[static_cast<size_t>(pid) + 1] = static_cast<uint8_t>(build_.productId);
    sim_.SetMemory(bytes);
    shared_.image.WriteBlock(0, bytes.data(), kImageSize);
    shared_.radio.radioReadCount = 1;
  }

  void Trace(ByteTrace* trace) { shared_.port.SetTrace(trace); }

  void Pace(bool on) {
    SimFaults f;
    f.pace = on;
    sim_.SetFaults(f);
  }

  Figures Run(bool read) {
    flows_.PortCheck();  // the port is open before the clock starts
    counter_.received = counter_.sent = 0;
    const int before = sim_.Counters().requests;
    const auto start = Clock::now();
    const bool started = read ? flows_.ReadRadio() : flows_.WriteRadio();
    flows_.FinishPreviousTransfer();
    Figures f;
    f.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    // The byte monitor hears of the last reply just after its reader did.
    SleepMs(20);
    f.bytes = counter_.received + counter_.sent;
    f.commands = sim_.Counters().requests - before;
    if (!started || flows_.LastOutcome().result != kTransferCompleted) {
      std::fprintf(stderr, "transfer did not complete\n");
      std::exit(1);
    }
    return f;
  }

 private:
  BuildConfig build_;
  SimulatedRadio sim_;
  ByteCounter counter_;
  SharedObjects shared_;
  TransferState state_;
  BenchHost host_;
  TransferFlows flows_;
};

void Report(const char* name, std::vector<Figures> runs, bool paced) {
  std::sort(runs.begin(), runs.end(), [paced](const Figures& a, const Figures& b) {
    return paced ? a.Ratio() < b.Ratio() : a.seconds < b.seconds;
  });
  const Figures& best = runs.front();
  const Figures& worst = runs.back();
  const Figures& median = runs[runs.size() / 2];
  if (paced) {
    std::printf("%-36s %7.3f s  %5ld bytes  wire %7.3f s  ratio %.4f  (best %.4f, worst %.4f)"
                "  %.2f ms over per command\n",
                name, median.seconds, median.bytes, median.Wire(), median.Ratio(), best.Ratio(),
                worst.Ratio(), median.OverheadMs());
  } else {
    std::printf("%-36s %7.3f s  %5ld bytes  (best %.3f s, worst %.3f s)\n", name, median.seconds,
                median.bytes, best.seconds, worst.seconds);
  }
  std::fflush(stdout);
}

double MedianSeconds(std::vector<Figures> runs) {
  std::sort(runs.begin(), runs.end(),
            [](const Figures& a, const Figures& b) { return a.seconds < b.seconds; });
  return runs[runs.size() / 2].seconds;
}

// Runs alternate between traced and untraced, so a machine that slows
// down halfway hits both alike.
void TraceOverhead(int runs) {
  char path[] = "/tmp/vorn-bench-trace-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return;
  close(fd);
  ByteTrace trace;
  std::string error;
  if (!trace.Open(path, "transfer_bench", error)) {
    std::fprintf(stderr, "trace: %s\n", error.c_str());
    return;
  }
  Bench bench("Kestal");
  bench.Pace(true);
  std::vector<Figures> plain, traced;
  for (int i = 0; i < std::max(runs, 3); ++i) {
    bench.Trace(nullptr);
    plain.push_back(bench.Run(true));
    bench.Trace(&trace);
    traced.push_back(bench.Run(true));
  }
  bench.Trace(nullptr);
  trace.Close();
  std::remove(path);
  const double a = MedianSeconds(plain), b = MedianSeconds(traced);
  std::printf("%-36s %7.3f s  untraced %7.3f s  ratio traced/untraced %.4f (target <= 1.02)\n",
              "Kestal read, paced, with a trace", b, a, b / a);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  std::printf("Whole-memory transfers against the simulated radio, %d run(s) each, median shown.\n"
              "Paced runs: every byte takes its wire time at 9600 baud; target ratio <= 1.05.\n\n",
              runs);
  struct Job {
    const char* name;
    const char* family;
    bool read;
    bool paced;
  };
  const Job jobs[] = {
      {"Kestal read, 16-byte blocks, paced", "Kestal", true, true},
      {"Kestal write, 16-byte blocks, paced", "Kestal", false, true},
      {"Tamso read, 128-byte arrays, paced", "Tamso", true, true},
      {"Tamso write, 128-byte arrays, paced", "Tamso", false, true},
      {"Kestal read, unpaced", "Kestal", true, false},
  };
  for (const Job& job : jobs) {
    Bench bench(job.family);
    bench.Pace(job.paced);
    std::vector<Figures> figures;
    for (int i = 0; i < runs; ++i) figures.push_back(bench.Run(job.read));
    Report(job.name, figures, job.paced);
  }
  TraceOverhead(runs);
  return 0;
}
