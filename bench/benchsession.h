#pragma once
// A vornprog session on a simulated radio for the benchmarks: it answers
// OK to every question, prints nothing and keeps no read archive.

#include <chrono>
#include <cstdio>
#include <string>

#include "session.h"
#include "simradio.h"

using BenchClock = std::chrono::steady_clock;

inline double SecondsSince(BenchClock::time_point start) {
  return std::chrono::duration<double>(BenchClock::now() - start).count();
}

struct BenchSession {
  explicit BenchSession(SimulatedRadio& radio)
      : null(std::fopen("/dev/null", "w")), s(CompiledBuildConfig(), null) {
    std::string error;
    s.UsePort(radio.DevicePath(), error);
    s.host.SetAssumeYes(true);
    s.host.PreAnswer(QuestionId::kReadOverEditData);
    s.flows.SetReadArchive(nullptr);
  }
  ~BenchSession() { std::fclose(null); }
  BenchSession(const BenchSession&) = delete;
  BenchSession& operator=(const BenchSession&) = delete;
  std::FILE* null;
  Session s;
};
