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
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "buildconfig.h"
#include "bytetrace.h"
#include "eeprom.h"
#include "median.h"
#include "messagequeue.h"
#include "messages.h"
#include "params.h"
#include "radio.h"
#include "transferflows.h"
#include "radioinfo.h"
#include "serialport.h"
#include "sharedobjects.h"
#include "quiethost.h"
#include "simradio.h"
#include "trafficmonitor.h"

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

// The three traffic monitors as the program runs them: the sources only
// post, and the windows' own thread takes each message, copies the bytes
// from the tap or ring and keeps the line, as the memo would.
class MonitorWindows : public MessageReceiver {
 public:
  explicit MonitorWindows(SharedObjects& shared)
      : bytes_(shared.port), packetsII_(shared.radio.ProtocolII()), packetsI_(shared.radio.ProtocolI()) {}
  ~MonitorWindows() override { Close(); }

  void Open() {
    stop_ = false;
    lineCount_ = 0;
    thread_ = std::thread([this] { Run(); });
    const MonitorTime now = std::chrono::system_clock::now();
    for (TrafficMonitor* m : {static_cast<TrafficMonitor*>(&bytes_), static_cast<TrafficMonitor*>(&packetsII_),
                              static_cast<TrafficMonitor*>(&packetsI_)})
      Keep(m->Attach(this, now));
  }
  void Close() {
    if (!thread_.joinable()) return;
    {
      std::lock_guard<std::mutex> g(lock_);
      stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
    bytes_.Detach();
    packetsII_.Detach();
    packetsI_.Detach();
  }
  void PostMessage(unsigned message, intptr_t wParam, intptr_t lParam) override {
    bool wasEmpty;
    {
      std::lock_guard<std::mutex> g(lock_);
      wasEmpty = queue_.empty();
      queue_.push_back({message, wParam, lParam});
    }
    // Like a window's event queue: the thread is woken once for a batch.
    if (wasEmpty) wake_.notify_one();
  }
  size_t LineCount() const { return lineCount_; }

 private:
  struct Posted {
    unsigned message;
    intptr_t wParam, lParam;
  };
  void Keep(const std::string& line) {
    lastLine_ = line;
    ++lineCount_;
  }
  TrafficMonitor* Target(unsigned message) {
    if (message == WM_BYTE_MONITOR) return &bytes_;
    if (message == WM_VORNI_RX || message == WM_VORNI_TX) return &packetsI_;
    return &packetsII_;
  }
  void Run() {
    std::unique_lock<std::mutex> g(lock_);
    for (;;) {
      wake_.wait(g, [this] { return stop_ || !queue_.empty(); });
      if (queue_.empty()) return;
      const Posted p = queue_.front();
      queue_.pop_front();
      g.unlock();
      if (auto line = Target(p.message)->Handle(p.message, p.wParam, p.lParam, std::chrono::system_clock::now()))
        Keep(*line);
      g.lock();
    }
  }

  ByteMonitor bytes_;
  VornIIPacketMonitor packetsII_;
  VornIPacketMonitor packetsI_;
  std::mutex lock_;
  std::condition_variable wake_;
  std::deque<Posted> queue_;
  bool stop_ = false;
  std::thread thread_;
  std::atomic<size_t> lineCount_{0};
  std::string lastLine_;
};

// The user who says OK to everything and watches the progress.
class BenchHost : public QuietHost, public ProgressView {
 public:
  void ShowMessage(const std::string& text, const std::string& caption, PromptIcon) override {
    std::fprintf(stderr, "  [%s] %s\n", caption.c_str(), text.c_str());
  }
  bool AskOkCancel(QuestionId, const std::string&, const std::string&, PromptIcon) override {
    return true;
  }
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
    shared_.radio.CountRadioRead();
  }

  void Trace(ByteTrace* trace) { shared_.port.SetTrace(trace); }

  void Pace(bool on) {
    SimFaults f;
    f.pace = on;
    sim_.SetFaults(f);
  }

  // The monitors take the byte counter's place on the port while open.
  void OpenMonitors() {
    shared_.port.ClearMonitor();
    monitors_.Open();
  }
  size_t CloseMonitors() {
    monitors_.Close();
    shared_.port.SetMonitor(&counter_, WM_BYTE_MONITOR);
    return monitors_.LineCount();
  }
  void NoByteCounter() { shared_.port.ClearMonitor(); }

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
  MonitorWindows monitors_{shared_};
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

double MedianSeconds(const std::vector<Figures>& runs) {
  std::vector<double> seconds;
  for (const Figures& f : runs) seconds.push_back(f.seconds);
  return Median(seconds);
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

  // The monitors' cost: the same transfer with no monitor at all and with
  // all three open, runs interleaved so both see the same machine load.
  std::printf("\nThe traffic monitors' cost: median time with all three open / without any;"
              " target ratio <= 1.05.\n");
  for (const Job& job : {jobs[4], jobs[0]}) {
    Bench bench(job.family);
    bench.Pace(job.paced);
    std::vector<double> without, with;
    size_t lines = 0;
    for (int i = 0; i < std::max(runs, 9); ++i) {
      bench.NoByteCounter();
      without.push_back(bench.Run(job.read).seconds);
      bench.OpenMonitors();
      with.push_back(bench.Run(job.read).seconds);
      lines = bench.CloseMonitors();
    }
    std::sort(without.begin(), without.end());
    std::sort(with.begin(), with.end());
    const double a = without[without.size() / 2], b = with[with.size() / 2];
    std::printf("%-36s without %7.3f s  with %7.3f s  ratio %.4f  (%zu monitor lines per run)\n",
                job.name, a, b, b / a, lines);
    std::fflush(stdout);
  }

  TraceOverhead(runs);
  return 0;
}
