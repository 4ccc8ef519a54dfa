#pragma once
// The faults a simulated radio can play, and the bookkeeping that decides,
// command by command, whether it answers.

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

// A fault of one command number that starts after that many answers.
struct SimOpcodeFault {
  int opcode = -1;  // -1: off
  int after = 0;
};

struct SimFaults {
  int silentAfter = -1;        // answers this many commands, then none (-1: off)
  int silentOpcode = -1;       // this command number falls silent ...
  int silentOpcodeAfter = 0;   // ... once this many of it were answered
  int nackOpcode = -1;         // refuses every request with this command number
  int replyDelayMs = 0;        // waits this long before each reply
  double dropProbability = 0;     // per byte sent
  double corruptProbability = 0;  // per byte sent
  uint32_t seed = 1;           // for dropping, corrupting and noise
  int noiseBytes = 0;          // line noise sent before each reply frame
  int hangUpAfter = -1;        // closes the line after answering this many commands
  bool pace = false;           // bytes take their wire time at the line rate
  // Damaged replies, for the programmer's checks on what it receives. The
  // first two hit the replies to command OP from its (N+1)th answer on.
  SimOpcodeFault flipByte;     // one payload byte flipped, checksum of the good payload
  SimOpcodeFault badChecksum;  // the right payload with a wrong checksum
  int staleReplyOpcode = -1;   // each reply to this memory read is preceded by a
                               // late one for the block 16 bytes before
  int shortArrayBytes = -1;    // array replies carry at most this many bytes (-1: off)
  bool anyLineRate = false;    // switches to any rate asked for, even one no port can run
  // A memory write that is acknowledged but not stored: the (N+1)th request
  // of write command OP, once, as a radio whose memory failed to program.
  SimOpcodeFault lostWrite;
  // A noisy lead: each reply is lost on the way with this probability
  // (from seed), the command itself carried out as usual.
  double lostReplyProbability = 0;
  // A lead whose transmit and receive lines are joined: every byte the
  // programmer sends comes straight back to it, ahead of any reply.
  bool echo = false;
};

enum class SimVerdict {
  Answer,
  Nack,    // reply with the refusal bit
  Silent,  // no reply at all
  HangUp,  // close the line instead of answering
};

class SimFaultPlan {
 public:
  explicit SimFaultPlan(const SimFaults& faults = {});
  void Configure(const SimFaults& faults);  // restarts the counts
  const SimFaults& Faults() const { return faults_; }

  // What to do with the next command of this number (0..63).
  SimVerdict Decide(uint8_t command);
  // Call after a reply went out; true when the line must now be closed.
  bool Answered(uint8_t command);
  // Whether a reply to this command is due for that fault now.
  bool Due(const SimOpcodeFault& fault, uint8_t command) const;
  // Whether this request is the one request that fault hits.
  bool Once(const SimOpcodeFault& fault, uint8_t command) const;

  // Whether the reply about to be sent is lost on the lead.
  bool LoseReply();
  // Drops and corrupts bytes of a frame about to be sent, in place.
  void Mangle(std::vector<uint8_t>& bytes);
  // Noise for the gap before a frame. It never holds a framing byte of
  // either protocol, so it tests the receiver's skipping, not its luck.
  std::vector<uint8_t> Noise();

 private:
  SimFaults faults_;
  int answered_ = 0;
  int answeredOfOpcode_ = 0;
  int answeredByCommand_[64] = {};
  std::mt19937 rng_;
};
