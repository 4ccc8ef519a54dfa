#include "simoptions.h"

#include <cerrno>
#include <cstdlib>


namespace {

// Decimal, or hexadecimal after "0x". A leading zero is not octal: "010"
// typed for a count or a channel means ten.
bool ToLong(const std::string& text, long low, long high, long& value) {
  if (text.empty()) return false;
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  errno = 0;
  char* end = nullptr;
  value = std::strtol(text.c_str(), &end, hex ? 16 : 10);
  return errno == 0 && *end == '\0' && value >= low && value <= high;
}

bool ToInt(const std::string& text, long low, long high, int& value) {
  long v = 0;
  if (!ToLong(text, low, high, v)) return false;
  value = static_cast<int>(v);
  return true;
}

bool ToProbability(const std::string& text, double& value) {
  errno = 0;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return !text.empty() && errno == 0 && *end == '\0' && value >= 0.0 && value <= 1.0;
}

bool ToRadioId(const std::string& text, std::array<uint8_t, 8>& id) {
  if (text.size() != 16) return false;
  for (size_t i = 0; i < 8; ++i) {
    long v = 0;
    if (!ToLong("0x" + text.substr(2 * i, 2), 0, 255, v)) return false;
    id[i] = static_cast<uint8_t>(v);
  }
  return true;
}

// "3:10": command 3, after 10 answers.
bool ToOpcodeAfter(const std::string& text, int& opcode, int& after) {
  const size_t colon = text.find(':');
  return colon != std::string::npos && ToInt(text.substr(0, colon), 0, 63, opcode) &&
         ToInt(text.substr(colon + 1), 0, 1000000, after);
}

bool ToSilentOpcode(const std::string& text, SimFaults& f) {
  return ToOpcodeAfter(text, f.silentOpcode, f.silentOpcodeAfter);
}

bool ToOpcodeFault(const std::string& text, SimOpcodeFault& fault) {
  return ToOpcodeAfter(text, fault.opcode, fault.after);
}

using Setter = bool (*)(SimOptions&, const std::string&);

struct Flag {
  const char* name;
  const char* value;  // nullptr: a switch without a value
  const char* help;
  Setter set;
};

constexpr long kMaxCount = 100000000;

const Flag kFlags[] = {
    {"--model", "NAME", "merlo, kestal, pinto, dravo, sorel, tamso or kestal-bt (default kestal)",
     [](SimOptions& o, const std::string& v) { return ParseSimModel(v, o.productId); }},
    {"--image", "FILE", "memory from a mem-file instead of the default configuration",
     [](SimOptions& o, const std::string& v) { o.image = v; return !v.empty(); }},
    {"--version", "X.YY[s]", "firmware version as the programmer shows it, e.g. 3.00, 1.05b",
     [](SimOptions& o, const std::string& v) { return o.hasVersion = ParseSimVersion(v, o.version); }},
    {"--firmware", "TEXT", "firmware text (at most 16 characters)",
     [](SimOptions& o, const std::string& v) { o.firmwareText = v; return o.hasFirmwareText = v.size() <= 16; }},
    {"--baud", "RATE", "pace the line at this rate, so transfers take their wire time",
     [](SimOptions& o, const std::string& v) {
       long b = 0;
       o.baud = ToLong(v, 300, 1000000, b) ? static_cast<uint32_t>(b) : 0;
       return o.baud != 0;
     }},
    {"--pcb-rev", "N", "the \"PCB Rev\" word",
     [](SimOptions& o, const std::string& v) { return ToInt(v, 0, 0xFFFF, o.pcbRevision); }},
    {"--radio-id", "HEX16", "the 8-byte radio ID as 16 hexadecimal digits",
     [](SimOptions& o, const std::string& v) { return o.hasRadioId = ToRadioId(v, o.radioId); }},
    {"--channel", "N", "start on this channel (1-80 CB, 81-180 receive-only)",
     [](SimOptions& o, const std::string& v) { return ToInt(v, 1, 180, o.channel); }},
    {"--signal", nullptr, "a carrier is present: BUSY, squelch open, RSSI up",
     [](SimOptions& o, const std::string&) { return o.signal = true; }},
    {"--announce", "MS", "send an announcement that asks for an acknowledgement every MS ms",
     [](SimOptions& o, const std::string& v) { return ToInt(v, 1, kMaxCount, o.announceMs); }},
    {"--check-rate", nullptr, "ignore bytes while the programmer's port runs at another rate",
     [](SimOptions& o, const std::string&) { return o.checkRate = true; }},
    {"--silent-after", "N", "answer N commands, then none",
     [](SimOptions& o, const std::string& v) { return ToInt(v, 0, kMaxCount, o.faults.silentAfter); }},
    {"--silent-opcode", "OP:N", "command OP falls silent after N answers",
     [](SimOptions& o, const std::string& v) { return ToSilentOpcode(v, o.faults); }},
    {"--nack", "OP", "refuse every request of command OP",
     [](SimOptions& o, const std::string& v) { return ToInt(v, 0, 63, o.faults.nackOpcode); }},
    {"--delay", "MS", "wait MS ms before each reply",
     [](SimOptions& o, const std::string& v) { return ToInt(v, 0, 600000, o.faults.replyDelayMs); }},
    {"--drop", "P", "drop each byte sent with probability P (0-1)",
     [](SimOptions& o, const std::string& v) { return ToProbability(v, o.faults.dropProbability); }},
    {"--corrupt", "P", "corrupt each byte sent with probability P (0-1)",
     [](SimOptions& o, const std::string& v) { return ToProbability(v, o.faults.corruptProbability); }},
    {"--lose-replies", "P", "lose each reply on the lead with probability P (0-1)",
     [](SimOptions& o, const std::string& v) { return ToProbability(v, o.faults.lostReplyProbability); }},
    {"--seed", "N", "seed for dropping, corrupting and noise (default 1)",
     [](SimOptions& o, const std::string& v) {
       long s = 0;
       if (!ToLong(v, 0, 0xFFFFFFFFL, s)) return false;
       o.faults.seed = static_cast<uint32_t>(s);
       return true;
     }},
    {"--noise", "N", "send N bytes of line noise before each reply",
     [](SimOptions& o, const std::string& v) { return ToInt(v, 0, 4096, o.faults.noiseBytes); }},
    {"--hang-up-after", "N", "close the line after answering N commands",
     [](SimOptions& o, const std::string& v) { return ToInt(v, 0, kMaxCount, o.faults.hangUpAfter); }},
    {"--flip-byte", "OP:N", "after N answers, replies to command OP arrive with one byte flipped",
     [](SimOptions& o, const std::string& v) { return ToOpcodeFault(v, o.faults.flipByte); }},
    {"--bad-checksum", "OP:N", "after N answers, replies to command OP carry a wrong checksum",
     [](SimOptions& o, const std::string& v) { return ToOpcodeFault(v, o.faults.badChecksum); }},
    {"--stale-reply", "OP", "precede each reply to memory read OP by a late one for another address",
     [](SimOptions& o, const std::string& v) { return ToInt(v, 0, 63, o.faults.staleReplyOpcode); }},
    {"--short-array", "N", "array replies carry at most N bytes",
     [](SimOptions& o, const std::string& v) { return ToInt(v, 0, 251, o.faults.shortArrayBytes); }},
    {"--lose-write", "OP:N", "acknowledge the (N+1)th request of write command OP without storing it",
     [](SimOptions& o, const std::string& v) { return ToOpcodeFault(v, o.faults.lostWrite); }},
    {"--any-rate", nullptr, "switch to any baud rate asked for, even one no port can run",
     [](SimOptions& o, const std::string&) { return o.faults.anyLineRate = true; }},
    {"--echo", nullptr, "send every byte received straight back, as a lead with joined lines",
     [](SimOptions& o, const std::string&) { return o.faults.echo = true; }},
    {"--link", "PATH", "also reach the device through a symbolic link at PATH",
     [](SimOptions& o, const std::string& v) { o.link = v; return !v.empty(); }},
    {"--verbose", nullptr, "print every request on standard error",
     [](SimOptions& o, const std::string&) { return o.verbose = true; }},
    {"--help", nullptr, "this text",
     [](SimOptions& o, const std::string&) { return o.help = true; }},
};

}  // namespace

bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& error) {
  for (size_t i = 0; i < args.size(); ++i) {
    // "--version" alone asks for the program's own version, as with every
    // other tool; followed by a value it stays the simulated firmware's.
    if (args[i] == "--version" && (i + 1 == args.size() || args[i + 1].rfind("--", 0) == 0)) {
      options.showVersion = true;
      continue;
    }
    const Flag* flag = nullptr;
    for (const Flag& f : kFlags) {
      if (args[i] == f.name) flag = &f;
    }
    if (!flag) {
      error = "unknown option " + args[i];
      return false;
    }
    std::string value;
    if (flag->value) {
      if (i + 1 >= args.size()) {
        error = std::string(flag->name) + " needs " + flag->value;
        return false;
      }
      value = args[++i];
    }
    if (!flag->set(options, value)) {
      error = "bad value for " + std::string(flag->name) + ": " + value;
      return false;
    }
  }
  if (options.baud) options.faults.pace = true;
  return true;
}

std::string SimUsage() {
  std::string text =
      "Usage: vorn-radio-sim [options]\n"
      "A simulated Vorn radio on a pseudo-terminal. Prints the device path on\n"
      "the first line, then serves until interrupted.\n\n";
  for (const Flag& f : kFlags) {
    std::string left = std::string("  ") + f.name + (f.value ? std::string(" ") + f.value : "");
    left.resize(std::max<size_t>(left.size() + 1, 26), ' ');
    text += left + f.help + "\n";
  }
  std::string left = "  --version";
  left.resize(26, ' ');
  text += left + "alone: print the program's version and the model it is built for\n";
  return text;
}
