// "Write Changes To Radio" of one group against the whole write with its
// safety nets, on a simulated radio that paces every byte at 9600 baud.
//
//   changes_bench [runs]
//
// Prints the mean time of: a change to the Options group written by group
// (a whole read first, kept for restore; the differing blocks; their
// read-back); "write --backup --verify" of the whole image (a whole read,
// the whole write, a whole read-back); and the ratio group / whole
// (target <= 0.5).

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "groups.h"
#include "groupwrite.h"
#include "params.h"
#include "radioinfo.h"
#include "benchsession.h"
#include "session.h"
#include "simradio.h"

namespace {

double GroupWrite(SimulatedRadio& radio, const EEPROM& config) {
  BenchSession b(radio);
  b.s.image = config;
  const auto start = BenchClock::now();
  const GroupWriteReport report =
      WriteGroups(b.s.flows, config, ImageGroupMap::ForModel(b.s.info.modelIndex),
                  GroupSet().With(ImageGroup::kOptions));
  const double t = SecondsSince(start);
  if (report.ending != GroupWriteReport::Ending::kWritten)
    std::fprintf(stderr, "group write: %s\n", report.Summary().c_str());
  return t;
}

double WholeWrite(SimulatedRadio& radio, const EEPROM& config) {
  BenchSession b(radio);
  b.s.image = config;
  const auto start = BenchClock::now();
  b.s.PortCheck();
  EEPROM before;
  const bool ok = TransferCompleted(b.s, b.s.flows.ReadRadioAside(before)) &&
                  TransferCompleted(b.s, b.s.flows.WriteRadio()) &&
                  TransferCompleted(b.s, b.s.flows.ReadRadio());
  const double t = SecondsSince(start);
  if (!ok) std::fprintf(stderr, "whole write: failed\n");
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
  const std::vector<uint8_t> original = radio.Memory();
  EEPROM config(kImageSize);
  config.WriteBlock(0, original.data(), kImageSize);
  TradioInfo info;
  info.SelectModel(CompiledBuildConfig().productId);
  // One setting of the Options window: the transmit time-out.
  const int address = info.GetParamAddress(Param("Tx Timeout"));
  config.SetByte(address, config.GetByte(address) ^ 0x01);

  double group = 0, whole = 0;
  for (int i = 0; i < runs; ++i) {
    radio.SetMemory(original);
    group += GroupWrite(radio, config);
    radio.SetMemory(original);
    whole += WholeWrite(radio, config);
  }
  group /= runs, whole /= runs;
  std::printf("mean of %d runs at 9600 baud:\n", runs);
  std::printf("  Write Changes (Options)        %7.2f s\n", group);
  std::printf("  write --backup --verify        %7.2f s\n", whole);
  std::printf("  ratio changes/whole            %7.2f (target <= 0.5)\n", group / whole);
  radio.Stop();
  return 0;
}
