#include "simfaults.h"

namespace {
bool IsFramingByte(uint8_t b) { return b == 0x7D || b == 0x7E || b == 0x7F || b == 0xAA || b == 0xCC; }
}  // namespace

SimFaultPlan::SimFaultPlan(const SimFaults& faults) { Configure(faults); }

void SimFaultPlan::Configure(const SimFaults& faults) {
  faults_ = faults;
  answered_ = 0;
  answeredOfOpcode_ = 0;
  std::fill(std::begin(answeredByCommand_), std::end(answeredByCommand_), 0);
  rng_.seed(faults.seed);
}

SimVerdict SimFaultPlan::Decide(uint8_t command) {
  if (faults_.hangUpAfter >= 0 && answered_ >= faults_.hangUpAfter) return SimVerdict::HangUp;
  if (faults_.silentAfter >= 0 && answered_ >= faults_.silentAfter) return SimVerdict::Silent;
  if (command == faults_.silentOpcode && answeredOfOpcode_ >= faults_.silentOpcodeAfter) {
    return SimVerdict::Silent;
  }
  if (command == faults_.nackOpcode) return SimVerdict::Nack;
  return SimVerdict::Answer;
}

bool SimFaultPlan::Answered(uint8_t command) {
  ++answered_;
  if (command == faults_.silentOpcode) ++answeredOfOpcode_;
  ++answeredByCommand_[command & 0x3F];
  return faults_.hangUpAfter >= 0 && answered_ >= faults_.hangUpAfter;
}

bool SimFaultPlan::Due(const SimOpcodeFault& fault, uint8_t command) const {
  return fault.opcode >= 0 && command == fault.opcode &&
         answeredByCommand_[command & 0x3F] >= fault.after;
}

bool SimFaultPlan::Once(const SimOpcodeFault& fault, uint8_t command) const {
  return fault.opcode >= 0 && command == fault.opcode &&
         answeredByCommand_[command & 0x3F] == fault.after;
}

bool SimFaultPlan::LoseReply() {
  if (faults_.lostReplyProbability <= 0) return false;
  return std::uniform_real_distribution<double>(0.0, 1.0)(rng_) < faults_.lostReplyProbability;
}

void SimFaultPlan::Mangle(std::vector<uint8_t>& bytes) {
  if (faults_.dropProbability <= 0 && faults_.corruptProbability <= 0) return;
  std::uniform_real_distribution<double> chance(0.0, 1.0);
  std::uniform_int_distribution<int> flip(1, 255);
  std::vector<uint8_t> out;
  out.reserve(bytes.size());
  for (uint8_t b : bytes) {
    if (chance(rng_) < faults_.dropProbability) continue;
    if (chance(rng_) < faults_.corruptProbability) b ^= static_cast<uint8_t>(flip(rng_));
    out.push_back(b);
  }
  bytes.swap(out);
}

std::vector<uint8_t> SimFaultPlan::Noise() {
  std::uniform_int_distribution<int> any(0, 255);
  std::vector<uint8_t> out;
  while (static_cast<int>(out.size()) < faults_.noiseBytes) {
    const auto b = static_cast<uint8_t>(any(rng_));
    if (!IsFramingByte(b)) out.push_back(b);
  }
  return out;
}
