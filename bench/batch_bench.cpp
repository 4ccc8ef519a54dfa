// The time a batch spends per radio against the single write a dealer
// would otherwise do for it, on a simulated radio that paces every byte
// at 9600 baud.
//
//   batch_bench [runs]
//
// Prints the mean time per radio of: the batch (read whole, write with its
// calibration kept, read back, compare); "write --keep-calibration
// --verify" (reads only the 32 calibration bytes); and the same with
// "--backup" (a whole read first, as the batch does for the archive). The
// ratios batch / write show what the batch costs beyond the work itself.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "batchloop.h"
#include "calibration.h"
#include "radioinfo.h"
#include "benchsession.h"
#include "session.h"
#include "simradio.h"

namespace {

class QuietBatchHost : public BatchHost {
 public:
  bool StopRequested() override { return false; }
  void Prompt(const std::string&) override {}
  void RadioEnded(const BatchRow& row, const std::string&) override { ok = row.result == kBatchOk; }
  void LogFailed(const std::string&) override {}
  bool ok = false;
};

double BatchOne(SimulatedRadio& radio, const EEPROM& config) {
  BenchSession b(radio);
  b.s.image = config;
  QuietBatchHost host;
  BatchLoop runner(b.s.flows, RadioObjectsOf(b.s, b.s.build), host);
  BatchSettings settings;
  settings.firstIdent = "10000";
  std::string error;
  if (!runner.Prepare(settings, error)) std::fprintf(stderr, "batch: %s\n", error.c_str());
  const auto start = BenchClock::now();
  runner.Run();
  const double t = SecondsSince(start);
  if (!host.ok) std::fprintf(stderr, "batch: the radio did not end OK\n");
  return t;
}

double WriteOne(SimulatedRadio& radio, const EEPROM& config, bool backup) {
  BenchSession b(radio);
  b.s.image = config;
  const auto start = BenchClock::now();
  b.s.PortCheck();
  uint8_t calibration[kCalibrationBytes] = {};
  if (backup) {
    TransferCompleted(b.s, b.s.flows.ReadRadio());
    b.s.image.ReadBlock(0, calibration, kCalibrationBytes);
    b.s.image = config;
  } else {
    ReadRadioCalibration(b.s.radio, calibration);
  }
  KeepCalibration(b.s.image, calibration, b.s.info);
  const bool ok = TransferCompleted(b.s, b.s.flows.WriteRadio()) &&
                  TransferCompleted(b.s, b.s.flows.ReadRadio());
  const double t = SecondsSince(start);
  if (!ok) std::fprintf(stderr, "write: failed\n");
  return t;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  SimulatedRadio radio(CompiledBuildConfig().productId);
  SimFaults faults;
  faults.pace = true;
  radio.SetFaults(faults);
  if (!radio.Start()) return 1;
  EEPROM config(kImageSize);
  for (int a = 0; a < kImageSize; ++a) config.SetByte(a, radio.Memory()[a]);

  double batch = 0, write = 0, backup = 0;
  for (int i = 0; i < runs; ++i) {
    batch += BatchOne(radio, config);
    write += WriteOne(radio, config, false);
    backup += WriteOne(radio, config, true);
  }
  batch /= runs, write /= runs, backup /= runs;
  std::printf("per radio, mean of %d runs at 9600 baud:\n", runs);
  std::printf("  batch                                  %7.2f s\n", batch);
  std::printf("  write --keep-calibration --verify      %7.2f s  ratio batch/write %.2f\n", write,
              batch / write);
  std::printf("  ... with --backup (a whole read first) %7.2f s  ratio batch/write %.2f\n", backup,
              batch / backup);
  radio.Stop();
  return 0;
}
