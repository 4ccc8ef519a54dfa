// The radio command layer against a scripted radio on the far end of a
// real pseudo-terminal: request bytes, reply parsing, success rules, the
// channel rules and the behaviour when the line is closed or vanishes.

#include "radio.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "eeprom.h"
#include "pty_peer.h"
#include "radioinfo.h"
#include "serialport.h"
#include "sharedobjects.h"
#include "vorniframe.h"
#include "vorniiframe.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Plays the radio: parses protocol II frames arriving on the master side
// and answers each request with whatever the handler returns.
class Responder {
 public:
  using Handler = std::function<std::optional<Bytes>(const Bytes& request)>;

  explicit Responder(int fd) : fd_(fd) { (void)pipe2(stop_, O_CLOEXEC); }
  ~Responder() {
    Stop();
    close(stop_[0]);
    close(stop_[1]);
  }

  void Start(Handler handler) {
    handler_ = std::move(handler);
    thread_ = std::thread([this] { Run(); });
  }
  void Stop() {
    if (!thread_.joinable()) return;
    (void)!write(stop_[1], "x", 1);
    thread_.join();
  }
  std::vector<Bytes> Requests() const {
    std::lock_guard<std::mutex> g(lock_);
    return requests_;
  }

 private:
  void Run() {
    VornIIParser parser;
    for (;;) {
      pollfd p[2] = {{fd_, POLLIN, 0}, {stop_[0], POLLIN, 0}};
      if (poll(p, 2, -1) < 0) {
        if (errno == EINTR) continue;
        return;
      }
      if (p[1].revents) return;
      uint8_t buf[512];
      const ssize_t n = (p[0].revents & POLLIN) ? read(fd_, buf, sizeof buf) : -1;
      if (n <= 0) {  // slave side closed for a moment: nothing to answer
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        continue;
      }
      for (ssize_t i = 0; i < n; ++i) {
        if (!parser.Feed(buf[i])) continue;
        const Bytes request(parser.Payload(), parser.Payload() + parser.Length());
        {
          std::lock_guard<std::mutex> g(lock_);
          requests_.push_back(request);
        }
        if (auto reply = handler_(request)) {
          uint8_t frame[kVornIIMaxFrame];
          const int len = EncodeVornIIFrame(reply->data(), static_cast<int>(reply->size()), frame);
          (void)!write(fd_, frame, len);
        }
      }
    }
  }

  int fd_;
  int stop_[2] = {-1, -1};
  Handler handler_;
  std::thread thread_;
  mutable std::mutex lock_;
  std::vector<Bytes> requests_;
};

// The objects the main window creates, over a pseudo-terminal at 9600.
struct RadioLink {
  explicit RadioLink(uint32_t product = kProductKestal)
      : shared(product), responder(peer.MasterFd()) {
    info.SelectModel(product);
    opened = peer.ok() && port.Open(peer.SlavePath(), 9600);
  }
  ~RadioLink() { responder.Stop(); }
  void Answer(std::optional<Bytes> reply) {
    responder.Start([reply](const Bytes&) { return reply; });
  }

  PtyPeer peer;
  SharedObjects shared;
  SerialPort& port = shared.port;
  EEPROM& image = shared.image;  // the session's image, which no command changes
  TradioInfo& info = shared.info;
  TRadio* const radio = &shared.radio;
  Responder responder;
  bool opened = false;
};

// What a command call produced, for the table's checks.
struct Outcome {
  bool ok = false;
  int value = 0;
  Bytes bytes;
  std::vector<int16_t> samples;
  std::string text;
};

constexpr uint8_t kGuard = 0xEE;
constexpr int16_t kSampleGuard = 0x1111;

struct CommandCase {
  using Call = std::function<Outcome(TRadio&)>;
  using Check = std::function<void(const Outcome&, TRadio&, const EEPROM&)>;
  CommandCase(std::string n, Call c, Bytes q, std::optional<Bytes> a, Check k, uint32_t p = kProductKestal)
      : name(std::move(n)), call(std::move(c)), request(std::move(q)), reply(std::move(a)), check(std::move(k)),
        product(p) {}

  std::string name;
  Call call;
  Bytes request;  // as it travels (bit 7 set); empty: nothing may be sent
  std::optional<Bytes> reply;
  Check check;
  uint32_t product;
};

std::ostream& operator<<(std::ostream& os, const CommandCase& c) { return os << c.name; }

// --- helpers that keep the table rows short ---

Outcome Flag(bool ok) {
  Outcome o;
  o.ok = ok;
  return o;
}

auto ExpectOk(bool ok) {
  return [ok](const Outcome& o, TRadio&, const EEPROM&) { EXPECT_EQ(o.ok, ok); };
}
auto ExpectValue(int value) {
  return [value](const Outcome& o, TRadio&, const EEPROM&) {
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(o.value, value);
  };
}
// The result value stays what it was before the call (0).
auto ExpectFailedUntouched() {
  return [](const Outcome& o, TRadio&, const EEPROM&) {
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.value, 0);
  };
}
auto ExpectArray(int n, Bytes data) {
  return [n, data](const Outcome& o, TRadio&, const EEPROM&) {
    EXPECT_EQ(o.value, n);
    ASSERT_GE(o.bytes.size(), data.size() + 1);
    EXPECT_EQ(Bytes(o.bytes.begin(), o.bytes.begin() + data.size()), data);
    for (size_t i = data.size(); i < o.bytes.size(); ++i)
      ASSERT_EQ(o.bytes[i], kGuard) << "written past the data at " << i;
  };
}
auto ExpectVersion(int major, int minor, int suffix, std::string text) {
  return [=](const Outcome& o, TRadio& r, const EEPROM&) {
    EXPECT_TRUE(o.ok);
    const RadioVersion v = r.GetCachedVersion();
    EXPECT_EQ(v.major, major);
    EXPECT_EQ(v.minor, minor);
    EXPECT_EQ(v.suffix, suffix);
    EXPECT_EQ(o.text, text);
  };
}
auto ExpectNoVersion() {
  return [](const Outcome& o, TRadio& r, const EEPROM&) {
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(r.GetCachedVersion().major, -1);
    EXPECT_EQ(o.text, "");
  };
}
auto ExpectFirmware(std::string buffer, std::string cached) {
  return [=](const Outcome& o, TRadio& r, const EEPROM&) {
    EXPECT_TRUE(o.ok);
    EXPECT_EQ(o.text, buffer);
    EXPECT_EQ(r.GetFirmwareText(), cached);
  };
}
auto ExpectImage(bool ok, int address, Bytes bytes) {
  return [=](const Outcome& o, TRadio&, const EEPROM& image) {
    EXPECT_EQ(o.ok, ok);
    for (size_t i = 0; i < bytes.size(); ++i)
      EXPECT_EQ(image.GetByte(address + static_cast<int>(i)), bytes[i]) << "at " << address + i;
  };
}

Outcome Version(TRadio& r) {
  Outcome o;
  o.ok = r.GetRadioVersion();
  const bool textOk = r.GetVersionText(o.text);
  EXPECT_EQ(textOk, r.GetCachedVersion().major >= 0);
  return o;
}
auto ReadArray(int address, int count) {
  return [=](TRadio& r) {
    Outcome o;
    o.bytes.assign(260, kGuard);
    o.value = r.ReadMemoryArray(address, count, o.bytes.data());
    return o;
  };
}
auto ReadFirmware(int bufferSize) {
  return [=](TRadio& r) {
    Outcome o;
    std::vector<char> buffer(bufferSize + 4, 'Z');
    o.ok = r.ReadFirmwareText(buffer.data(), bufferSize);
    o.text = std::string(buffer.data(), strnlen(buffer.data(), bufferSize));
    EXPECT_LT(o.text.size(), static_cast<size_t>(bufferSize)) << "no terminator within the buffer";
    for (int i = bufferSize; i < bufferSize + 4; ++i) EXPECT_EQ(buffer[i], 'Z');
    return o;
  };
}
Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }
Bytes Counting(int n, int first = 0) {
  Bytes b(n);
  for (int i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(first + i);
  return b;
}
Bytes AudioReply() {
  Bytes r{0x34};
  for (int i = 0; i < kMaxAudioSamples; ++i) {
    const Bytes pair = i == 0     ? Bytes{0xFF, 0x38}
                       : i == 1   ? Bytes{0x01, 0x02}
                       : i == 125 ? Bytes{0x80, 0x00}
                                  : Bytes{0x00, static_cast<uint8_t>(i)};
    r = Concat(r, pair);
  }
  return r;
}
auto ReadSamples(int count) {
  return [=](TRadio& r) {
    Outcome o;
    o.samples.assign(200, kSampleGuard);
    o.ok = r.ReadAudioSamples(count, o.samples.data());
    return o;
  };
}
const Bytes kId8 = {0x10, 0x7E, 0x30, 0x40, 0x50, 0x60, 0x7D, 0x80};
const Bytes kBlock16 = Counting(16, 0x70);  // crosses 7D..7F: escaped on the wire

const std::vector<CommandCase>& Cases() {
  static const std::vector<CommandCase> cases = {
      // GetRadioVersion, ProbeRadio
      {"Version_ThreeBytes", Version, {0x80}, Bytes{0x00, 0x01, 0x05}, ExpectVersion(1, 5, 0, "v1.05")},
      {"Version_WithSuffix", Version, {0x80}, Bytes{0x00, 0x01, 0x05, 'b'}, ExpectVersion(1, 5, 'b', "v1.05b")},
      {"Version_TwoDigitMajor", Version, {0x80}, Bytes{0x00, 12, 0x00}, ExpectVersion(12, 0, 0, "v0C.00")},
      {"Version_ZeroMajor", Version, {0x80}, Bytes{0x00, 0x00, 0xFF}, ExpectVersion(0, 255, 0, "v0.FF")},
      {"Version_FourDigitMajor", Version, {0x80}, Bytes{0x00, 0x1F, 0x10, 'c'}, ExpectVersion(31, 16, 'c', "v001F.10c")},
      {"Version_ReplyTooShort", Version, {0x80}, Bytes{0x00, 0x02}, ExpectNoVersion()},
      {"Version_NoReply", Version, {0x80}, std::nullopt, ExpectNoVersion()},
      {"Probe", [](TRadio& r) { return Flag(r.ProbeRadio()); }, {0x80}, Bytes{0x00}, ExpectOk(true)},
      {"Probe_NoReply", [](TRadio& r) { return Flag(r.ProbeRadio()); }, {0x80}, std::nullopt, ExpectOk(false)},
      // Reads
      {"ReadByte", [](TRadio& r) { Outcome o; o.ok = r.ReadMemoryByte(0x0123, o.value); return o; },
       {0x81, 0x01, 0x23}, Bytes{0x01, 0x01, 0x23, 0x5A}, ExpectValue(0x5A)},
      {"ReadWord", [](TRadio& r) { Outcome o; o.ok = r.ReadMemoryWord(0x0123, o.value); return o; },
       {0x82, 0x01, 0x23}, Bytes{0x02, 0x01, 0x23, 0x12, 0x34}, ExpectValue(0x1234)},
      {"ReadWord_Unsigned", [](TRadio& r) { Outcome o; o.ok = r.ReadMemoryWord(0x07FE, o.value); return o; },
       {0x82, 0x07, 0xFE}, Bytes{0x02, 0x07, 0xFE, 0xFF, 0x7E}, ExpectValue(0xFF7E)},
      {"ReadWord_ReplyTooShort", [](TRadio& r) { Outcome o; o.ok = r.ReadMemoryWord(0x0123, o.value); return o; },
       {0x82, 0x01, 0x23}, Bytes{0x02, 0x01, 0x23, 0x12}, ExpectFailedUntouched()},
      {"ReadWord_NoReply", [](TRadio& r) { Outcome o; o.ok = r.ReadMemoryWord(0x0123, o.value); return o; },
       {0x82, 0x01, 0x23}, std::nullopt, ExpectFailedUntouched()},
      {"ReadBlock",
       [](TRadio& r) { Outcome o; o.bytes.assign(17, kGuard); o.value = r.ReadMemoryBlock(0x07F0, o.bytes.data()) ? 16 : 0; return o; },
       {0x83, 0x07, 0xF0}, Concat({0x03, 0x07, 0xF0}, kBlock16), ExpectArray(16, kBlock16)},
      {"ReadBlock_ReplyTooShort",
       [](TRadio& r) { Outcome o; o.bytes.assign(17, kGuard); o.value = r.ReadMemoryBlock(0x0010, o.bytes.data()) ? 16 : 0; return o; },
       {0x83, 0x00, 0x10}, Concat({0x03, 0x00, 0x10}, Counting(15)), ExpectArray(0, {})},
      {"GetChannel", [](TRadio& r) { Outcome o; o.value = r.GetChannel(); return o; }, {0x84}, Bytes{0x04, 0x85},
       [](const Outcome& o, TRadio& r, const EEPROM&) {
         EXPECT_EQ(o.value, 0x85);
         EXPECT_EQ(r.rawChannel, 0x85);
         EXPECT_EQ(r.currentChannel, 0x85);
       }},
      {"GetChannel_NoReply", [](TRadio& r) { Outcome o; r.rawChannel = 7; o.value = r.GetChannel(); return o; }, {0x84},
       std::nullopt,
       [](const Outcome& o, TRadio& r, const EEPROM&) {
         EXPECT_EQ(o.value, -1);
         EXPECT_EQ(r.rawChannel, 7);
       }},
      {"GetStatus", [](TRadio& r) { Outcome o; o.ok = r.GetRadioStatus(o.value); return o; }, {0x85},
       Bytes{0x05, 0x21}, ExpectValue(0x21)},
      {"ReadArray", ReadArray(0x0100, 4), {0x8B, 0x01, 0x00, 0x04},
       Bytes{0x0B, 0x01, 0x00, 0x04, 0xAA, 0xBB, 0xCC, 0xDD}, ExpectArray(4, {0xAA, 0xBB, 0xCC, 0xDD})},
      {"ReadArray_128", ReadArray(0x0780, 128), {0x8B, 0x07, 0x80, 0x80},
       Concat({0x0B, 0x07, 0x80, 0x80}, Counting(128, 0x40)), ExpectArray(128, Counting(128, 0x40))},
      {"ReadArray_CountBeyondReply", ReadArray(0x0100, 128), {0x8B, 0x01, 0x00, 0x80},
       Bytes{0x0B, 0x01, 0x00, 0xC8, 1, 2, 3}, ExpectArray(3, {1, 2, 3})},
      {"ReadArray_MoreThanAsked", ReadArray(0x0100, 2), {0x8B, 0x01, 0x00, 0x02},
       Bytes{0x0B, 0x01, 0x00, 0x04, 1, 2, 3, 4}, ExpectArray(2, {1, 2})},
      {"ReadArray_ReplyTooShort", ReadArray(0x0100, 2), {0x8B, 0x01, 0x00, 0x02}, Bytes{0x0B, 0x01, 0x00},
       ExpectArray(0, {})},
      {"ReadArray_NoReply", ReadArray(0x0100, 2), {0x8B, 0x01, 0x00, 0x02}, std::nullopt, ExpectArray(0, {})},
      {"ReadArray_CountTooLarge", ReadArray(0x0100, 252), {}, Bytes{0x00}, ExpectArray(0, {})},
      {"ReadArray_CountZero", ReadArray(0x0100, 0), {}, Bytes{0x00}, ExpectArray(0, {})},
      {"ReadRadioId",
       [](TRadio& r) { Outcome o; o.bytes.assign(9, kGuard); o.value = r.ReadRadioId(o.bytes.data()) ? 8 : 0; return o; },
       {0x8C}, Concat({0x0C}, kId8), ExpectArray(8, kId8)},
      // Writes
      {"WriteByte", [](TRadio& r) { return Flag(r.WriteMemoryByte(0x0041, 0x5A)); }, {0xA1, 0x00, 0x41, 0x5A},
       Bytes{0x21}, ExpectImage(true, 0x0040, {0xFF, 0xFF, 0xFF})},
      {"WriteByte_NoReply", [](TRadio& r) { return Flag(r.WriteMemoryByte(0x0041, 0x5A)); },
       {0xA1, 0x00, 0x41, 0x5A}, std::nullopt, ExpectImage(false, 0x0041, {0xFF})},
      {"WriteWord", [](TRadio& r) { return Flag(r.WriteMemoryWord(0x0040, 0x1234)); },
       {0xA2, 0x00, 0x40, 0x12, 0x34}, Bytes{0x22}, ExpectImage(true, 0x003F, {0xFF, 0xFF, 0xFF, 0xFF})},
      {"WriteWord_NoReply", [](TRadio& r) { return Flag(r.WriteMemoryWord(0x0040, 0x1234)); },
       {0xA2, 0x00, 0x40, 0x12, 0x34}, std::nullopt, ExpectImage(false, 0x0040, {0xFF, 0xFF})},
      {"WriteWord_Nack", [](TRadio& r) { return Flag(r.WriteMemoryWord(0x0040, 0x1234)); },
       {0xA2, 0x00, 0x40, 0x12, 0x34}, Bytes{0x62}, ExpectImage(false, 0x0040, {0xFF, 0xFF})},
      {"WriteBlock", [](TRadio& r) { return Flag(r.WriteMemoryBlock(0x0020, kBlock16.data())); },
       Concat({0xA3, 0x00, 0x20}, kBlock16), Bytes{0x23}, ExpectImage(true, 0x0020, Bytes(16, 0xFF))},
      {"SetChannel", [](TRadio& r) { return Flag(r.SetChannel(40)); }, {0xA4, 40}, Bytes{0x24}, ExpectOk(true)},
      {"SetRfPower", [](TRadio& r) { return Flag(r.SetRfPower(2)); }, {0xA5, 0x02, 0x02}, Bytes{0x25}, ExpectOk(true)},
      {"SetPttOn", [](TRadio& r) { return Flag(r.SetPtt(true)); }, {0xA6, 0x01}, Bytes{0x26}, ExpectOk(true)},
      {"SetPttOff", [](TRadio& r) { return Flag(r.SetPtt(false)); }, {0xA6, 0x00}, Bytes{0x26}, ExpectOk(true)},
      {"StepUp_Kestal", [](TRadio& r) { Outcome o; o.ok = r.StepChannel(1, o.value); return o; }, {0xA9},
       Bytes{0x29, 0x85}, ExpectValue(133)},
      {"StepDown_Kestal", [](TRadio& r) { Outcome o; o.ok = r.StepChannel(-1, o.value); return o; }, {0xAA},
       Bytes{0x2A, 0x05}, ExpectValue(5)},
      {"StepUp_Sorel", [](TRadio& r) { Outcome o; o.ok = r.StepChannel(1, o.value); return o; }, {0xA9},
       Bytes{0x29, 0x85},
       [](const Outcome& o, TRadio& r, const EEPROM&) {
         EXPECT_TRUE(o.ok);
         EXPECT_EQ(o.value, 5);
         EXPECT_EQ(r.currentChannel, 5);
         EXPECT_EQ(r.rawChannel, 0x85);
       },
       kProductSorel},
      {"WriteArray", [](TRadio& r) { const Bytes b{1, 0x7E, 3}; return Flag(r.WriteMemoryArray(0x0200, 3, b.data())); },
       {0xAB, 0x02, 0x00, 0x03, 0x01, 0x7E, 0x03}, Bytes{0x2B}, ExpectImage(true, 0x0200, {0xFF, 0xFF, 0xFF})},
      {"WriteArray_251", [](TRadio& r) { const Bytes b = Counting(251); return Flag(r.WriteMemoryArray(0x0000, 251, b.data())); },
       Concat({0xAB, 0x00, 0x00, 0xFB}, Counting(251)), Bytes{0x2B}, ExpectOk(true)},
      {"WriteArray_252", [](TRadio& r) { const Bytes b = Counting(252); return Flag(r.WriteMemoryArray(0x0000, 252, b.data())); },
       {}, Bytes{0x00}, ExpectOk(false)},
      {"WriteRadioId", [](TRadio& r) { return Flag(r.WriteRadioId(kId8.data())); }, Concat({0xAC}, kId8), Bytes{0x2C},
       ExpectOk(true)},
      {"SetVolume", [](TRadio& r) { return Flag(r.SetVolume(7)); }, {0xAF, 0x07}, Bytes{0x2F}, ExpectOk(true)},
      {"SetVolume_ExtraByte", [](TRadio& r) { return Flag(r.SetVolume(7)); }, {0xAF, 0x07}, Bytes{0x2F, 0x07}, ExpectOk(false)},
      {"SetTestMode", [](TRadio& r) { return Flag(r.SetTestMode(1)); }, {0xB8, 0x01}, Bytes{0x38}, ExpectOk(true)},
      {"EnterProgMode", [](TRadio& r) { return Flag(r.EnterProgMode()); }, {0xB9}, Bytes{0x39}, ExpectOk(true)},
      {"EnterProgMode_ExtraByte", [](TRadio& r) { return Flag(r.EnterProgMode()); }, {0xB9}, Bytes{0x39, 0x00}, ExpectOk(false)},
      {"FirmwareText", ReadFirmware(20), {0xBA}, Concat(Concat({0x3A}, Text("KESTAL V1.05")), {0, 'X', 'Y'}),
       ExpectFirmware("KESTAL V1.05", "KESTAL V1.05")},
      {"FirmwareText_Keeps16", ReadFirmware(20), {0xBA}, Concat({0x3A}, Text("ABCDEFGHIJKLMNOPQRST")),
       ExpectFirmware("ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNOP")},
      {"FirmwareText_SmallBuffer", ReadFirmware(8), {0xBA}, Concat({0x3A}, Text("ABCDEFGHIJKLMNOP")),
       ExpectFirmware("ABCDEFG", "ABCDEFGHIJKLMNOP")},
      {"BaudRate", [](TRadio& r) { return Flag(r.SetRadioBaudRate(57600)); }, {0xBB, 0x00, 0xE1, 0x00},
       Bytes{0x3B, 0x00, 0xE1, 0x00}, ExpectOk(true)},
      {"BaudRate_ExtraBytes", [](TRadio& r) { return Flag(r.SetRadioBaudRate(57600)); }, {0xBB, 0x00, 0xE1, 0x00},
       Bytes{0x3B, 0x00, 0xE1, 0x00, 0x55, 0x66}, ExpectOk(true)},
      {"BaudRate_OtherEcho", [](TRadio& r) { return Flag(r.SetRadioBaudRate(57600)); }, {0xBB, 0x00, 0xE1, 0x00},
       Bytes{0x3B, 0x00, 0x96, 0x00}, ExpectOk(false)},
      {"BaudRate_ShortEcho", [](TRadio& r) { return Flag(r.SetRadioBaudRate(57600)); }, {0xBB, 0x00, 0xE1, 0x00},
       Bytes{0x3B, 0x00, 0xE1}, ExpectOk(false)},
      {"Reset", [](TRadio& r) { return Flag(r.ResetRadio()); }, {0xBF}, Bytes{0x3F}, ExpectOk(true)},
      {"Reset_ExtraByte", [](TRadio& r) { return Flag(r.ResetRadio()); }, {0xBF}, Bytes{0x3F, 0x01}, ExpectOk(false)},
      {"RawCommand", [](TRadio& r) { const Bytes b{0x05, 0x7E}; return Flag(r.SendRawCommand(b.data(), 2)); },
       {0x85, 0x7E}, std::nullopt, ExpectOk(true)},
      {"RawCommand_Empty", [](TRadio& r) { const Bytes b{0x05}; return Flag(r.SendRawCommand(b.data(), 0)); },
       {}, Bytes{0x00}, ExpectOk(false)},
      {"RawCommand_TooLong", [](TRadio& r) { const Bytes b(256, 1); return Flag(r.SendRawCommand(b.data(), 256)); },
       {}, Bytes{0x00}, ExpectOk(false)},
      // Engineering sub-commands
      {"Peek", [](TRadio& r) { Outcome o; o.ok = r.PeekMemory(0x1234, o.value); return o; }, {0xB4, 0x01, 0x12, 0x34},
       Bytes{0x34, 0x00, 0x12, 0x34, 0xAB}, ExpectValue(0xAB)},
      {"Peek_Refused", [](TRadio& r) { Outcome o; o.ok = r.PeekMemory(0x1234, o.value); return o; },
       {0xB4, 0x01, 0x12, 0x34}, Bytes{0x34, 0x01, 0x12, 0x34, 0xAB}, ExpectFailedUntouched()},
      {"ReadAdc", [](TRadio& r) { Outcome o; o.value = r.ReadAdcChannel(4); return o; }, {0xB4, 0x08, 0x04},
       Bytes{0x34, 0x00, 0x04, 0x99},
       [](const Outcome& o, TRadio& r, const EEPROM&) {
         EXPECT_EQ(o.value, 0x99);
         EXPECT_EQ(r.CachedAdc(4), 0x99);
       }},
      {"ReadAdc_OtherChannelAnswered", [](TRadio& r) { Outcome o; o.value = r.ReadAdcChannel(4); return o; },
       {0xB4, 0x08, 0x04}, Bytes{0x34, 0x02, 0x0D, 0x77},
       [](const Outcome& o, TRadio& r, const EEPROM&) {
         EXPECT_EQ(r.CachedAdc(5), 0x77);  // 0x0D & 7
         EXPECT_EQ(o.value, 0);           // the requested channel's cached value
       }},
      {"ReadAdc_Refused", [](TRadio& r) { Outcome o; o.value = r.ReadAdcChannel(1); return o; }, {0xB4, 0x08, 0x01},
       Bytes{0x34, 0x01, 0x01, 0x99},
       [](const Outcome& o, TRadio& r, const EEPROM&) {
         EXPECT_EQ(o.value, -1);
         EXPECT_EQ(r.CachedAdc(1), 0);
       }},
      {"ReadAdc_ChannelOutOfRange", [](TRadio& r) { Outcome o; o.value = r.ReadAdcChannel(8); return o; }, {},
       Bytes{0x00}, [](const Outcome& o, TRadio&, const EEPROM&) { EXPECT_EQ(o.value, -1); }},
      {"Poke", [](TRadio& r) { return Flag(r.PokeMemory(0x0102, 0x55, 0x0F)); }, {0xB4, 0x81, 0x01, 0x02, 0x55, 0x0F},
       Bytes{0x34}, ExpectOk(true)},
      {"TxTone", [](TRadio& r) { return Flag(r.SetTxTone(16)); }, {0xB4, 0x82, 0x10}, Bytes{0x34}, ExpectOk(true)},
      {"CtcssTone", [](TRadio& r) { return Flag(r.SetCtcssTone(12)); }, {0xB4, 0x83, 0x0C}, Bytes{0x34}, ExpectOk(true)},
      {"WriteLcd", [](TRadio& r) { return Flag(r.WriteLcd("12", "HELLO", 0x1234, 0x05)); },
       {0xB4, 0x84, '1', '2', 'H', 'E', 'L', 'L', 'O', 0x34, 0x12, 0x05}, Bytes{0x34}, ExpectOk(true)},
      {"SquelchOpen", [](TRadio& r) { return Flag(r.SetSquelchOpen(true)); }, {0xB4, 0x86, 0x01}, Bytes{0x34}, ExpectOk(true)},
      {"SquelchNormal", [](TRadio& r) { return Flag(r.SetSquelchOpen(false)); }, {0xB4, 0x86, 0x00}, Bytes{0x34}, ExpectOk(true)},
      {"PllFrequency", [](TRadio& r) { return Flag(r.SetPllFrequency(37000)); }, {0xB4, 0x88, 0x90, 0x88}, Bytes{0x34},
       ExpectOk(true)},
      {"AutoAlign", [](TRadio& r) { return Flag(r.StartAutoAlign(0x0F, 10, 200, 5)); },
       {0xB4, 0x89, 0x0F, 0x0A, 0xC8, 0x05}, Bytes{0x34}, ExpectOk(true)},
      {"BeepTone", [](TRadio& r) { return Flag(r.SetBeepTone(1000)); }, {0xB4, 0x8A, 0x03, 0xE8}, Bytes{0x34}, ExpectOk(true)},
      {"AudioSamples_LimitedTo126", ReadSamples(200), {0xB4, 0x8B, 0x7E}, AudioReply(),
       [](const Outcome& o, TRadio&, const EEPROM&) {
         EXPECT_TRUE(o.ok);
         EXPECT_EQ(o.samples[0], -200);
         EXPECT_EQ(o.samples[1], 258);
         EXPECT_EQ(o.samples[2], 2);
         EXPECT_EQ(o.samples[125], -32768);
         for (int i = 126; i < 200; ++i) ASSERT_EQ(o.samples[i], kSampleGuard) << i;
       }},
      {"AudioSamples_ShortReply", ReadSamples(3), {0xB4, 0x8B, 0x03}, Bytes{0x34, 0xFF, 0x38, 0x00, 0x01, 0x00},
       [](const Outcome& o, TRadio&, const EEPROM&) {
         EXPECT_FALSE(o.ok);
         for (int i = 0; i < 3; ++i) EXPECT_EQ(o.samples[i], kSampleGuard);
       }},
      {"AudioSamples_None", ReadSamples(0), {}, Bytes{0x00}, ExpectOk(false)},
      {"FrequencyError", [](TRadio& r) { Outcome o; o.ok = r.ReadFrequencyError(o.value); return o; }, {0xB4, 0x8C},
       Bytes{0x34, 0x00, 0x38, 0xFF},
       [](const Outcome& o, TRadio& r, const EEPROM&) {
         EXPECT_TRUE(o.ok);
         EXPECT_EQ(o.value, -200);
         EXPECT_EQ(r.frequencyError, -200);
       }},
      {"FrequencyError_Positive", [](TRadio& r) { Outcome o; o.ok = r.ReadFrequencyError(o.value); return o; },
       {0xB4, 0x8C}, Bytes{0x34, 0x00, 0x34, 0x12}, ExpectValue(0x1234)},
      {"AfcOn", [](TRadio& r) { return Flag(r.SetAfcEnable(true)); }, {0xB4, 0x8D, 0x01}, Bytes{0x34}, ExpectOk(true)},
      {"AfcOff", [](TRadio& r) { return Flag(r.SetAfcEnable(false)); }, {0xB4, 0x8D, 0x00}, Bytes{0x34}, ExpectOk(true)},
      {"Wideband", [](TRadio& r) { return Flag(r.SetWideband()); }, {0xB4, 0x8D, 0x02}, Bytes{0x34}, ExpectOk(true)},
      {"LowPower", [](TRadio& r) { return Flag(r.SetLowPower(true)); }, {0xB4, 0x8D, 0x04}, Bytes{0x34}, ExpectOk(true)},
      {"HighPower", [](TRadio& r) { return Flag(r.SetLowPower(false)); }, {0xB4, 0x8D, 0x00}, Bytes{0x34}, ExpectOk(true)},
      // Derived reads through the model's parameter addresses
      {"ProductId", [](TRadio& r) { Outcome o; o.ok = r.ReadProductId(o.value); return o; }, {0x82, 0x00, 0x00},
       Bytes{0x02, 0x00, 0x00, 0x5A, 0x02}, ExpectValue(0x5A02)},
      {"PcbRevision", [](TRadio& r) { Outcome o; o.ok = r.ReadPcbRevision(o.value); return o; }, {0x82, 0x00, 0x1C},
       Bytes{0x02, 0x00, 0x1C, 0x00, 0x03}, ExpectValue(3)},
      {"PcbRevision_AbsentOnPinto", [](TRadio& r) { Outcome o; o.ok = r.ReadPcbRevision(o.value); return o; }, {},
       Bytes{0x00}, ExpectFailedUntouched(), kProductPinto},
  };
  return cases;
}

class RadioCommandTest : public ::testing::TestWithParam<CommandCase> {};

TEST_P(RadioCommandTest, SendsRequestAndParsesReply) {
  const CommandCase& c = GetParam();
  RadioLink link(c.product);
  ASSERT_TRUE(link.opened);
  link.Answer(c.reply);
  const Outcome outcome = c.call(*link.radio);
  if (c.request.empty()) {
    // Nothing may have gone out: a probe is the first thing the radio sees.
    EXPECT_TRUE(link.radio->ProbeRadio());
    EXPECT_EQ(link.responder.Requests(), std::vector<Bytes>{{0x80}});
  } else {
    EXPECT_TRUE(WaitUntil([&] { return !link.responder.Requests().empty(); }));
    EXPECT_EQ(link.responder.Requests(), std::vector<Bytes>{c.request});
  }
  c.check(outcome, *link.radio, link.image);
}

INSTANTIATE_TEST_SUITE_P(AllCommands, RadioCommandTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return info.param.name; });

// ---- Channel rules ---------------------------------------------------------

struct RuleCase {
  const char* name;
  uint32_t product;
  int major;  // -1: the version read fails
  int minor;
  int raw;
  int ruleA;  // current channel after GetChannel
  int ruleB;  // result of StepChannel
};

class ChannelRuleTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(ChannelRuleTest, GetAndStepAdjustTheRawChannel) {
  const RuleCase& c = GetParam();
  RadioLink link(c.product);
  ASSERT_TRUE(link.opened);
  const uint8_t raw = static_cast<uint8_t>(c.raw);
  link.responder.Start([&c, raw](const Bytes& q) -> std::optional<Bytes> {
    switch (q[0]) {
      case 0x80:  // a one-byte reply fails the version read at once
        return c.major < 0 ? Bytes{0x00} : Bytes{0x00, static_cast<uint8_t>(c.major), static_cast<uint8_t>(c.minor)};
      case 0x84: return Bytes{0x04, raw};
      case 0xA9: return Bytes{0x29, raw};
      case 0xAA: return Bytes{0x2A, raw};
      default: return std::nullopt;
    }
  });
  TRadio& r = *link.radio;
  EXPECT_EQ(r.GetRadioVersion(), c.major >= 0);

  EXPECT_EQ(r.GetChannel(), c.raw);  // the command's own result is always raw
  EXPECT_EQ(r.rawChannel, c.raw);
  EXPECT_EQ(r.currentChannel, c.ruleA);

  for (int step : {1, -1}) {
    r.currentChannel = -5;
    r.rawChannel = -5;
    int channel = -1;
    ASSERT_TRUE(r.StepChannel(step, channel));
    EXPECT_EQ(channel, c.ruleB) << "step " << step;
    EXPECT_EQ(r.currentChannel, c.ruleB);
    EXPECT_EQ(r.rawChannel, c.raw);
  }
  EXPECT_EQ(r.ChannelOfGetReply(c.raw), c.ruleA);
  EXPECT_EQ(r.ChannelOfStepReply(c.raw), c.ruleB);
}

INSTANTIATE_TEST_SUITE_P(
    Products, ChannelRuleTest,
    ::testing::Values(RuleCase{"Kestal_1_05", kProductKestal, 1, 5, 0x85, 0x85, 0x85},
                      RuleCase{"Kestal_NoVersion", kProductKestal, -1, 0, 0x05, 0x05, 0x05},
                      RuleCase{"Tamso_1_00", kProductTamso, 1, 0, 0x85, 0x85, 0x85},
                      RuleCase{"Merlo_2_00", kProductMerlo, 2, 0, 0x85, 0x85, 0x85},
                      RuleCase{"Merlo_1_09", kProductMerlo, 1, 9, 0x85, 0x85, 0x05},
                      RuleCase{"Dravo_1_00_High", kProductDravo, 1, 0, 0x85, 0x05, 0x05},
                      RuleCase{"Dravo_1_00_Low", kProductDravo, 1, 0, 0x05, 0x85, 0x85},
                      RuleCase{"Dravo_2_00", kProductDravo, 2, 0, 0x85, 0x85, 0x85},
                      RuleCase{"Dravo_NoVersion", kProductDravo, -1, 0, 0x10, 0x90, 0x90},
                      RuleCase{"Pinto_1_01", kProductPinto, 1, 1, 0x85, 0x85, 0x85},
                      RuleCase{"Pinto_1_00", kProductPinto, 1, 0, 0x85, 0x85, 0x05},
                      RuleCase{"Pinto_2_00", kProductPinto, 2, 0, 0x85, 0x85, 0x85},
                      RuleCase{"Pinto_0_09", kProductPinto, 0, 9, 0x85, 0x85, 0x05},
                      RuleCase{"Sorel_5_00", kProductSorel, 5, 0, 0x85, 0x85, 0x05},
                      RuleCase{"KestalBT_3_00", kProductKestalBT, 3, 0, 0x00, 0x00, 0x80},
                      RuleCase{"UnknownProduct", 0x1234, 2, 0, 0xFF, 0xFF, 0x7F}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Cached state across commands ------------------------------------------

TEST(RadioVersion, FailedReadClearsTheCachedVersion) {
  RadioLink link;
  ASSERT_TRUE(link.opened);
  int calls = 0;
  link.responder.Start([&calls](const Bytes&) -> std::optional<Bytes> {
    if (calls++ == 0) return Bytes{0x00, 0x01, 0x05};
    return std::nullopt;
  });
  std::string text;
  ASSERT_TRUE(link.radio->GetRadioVersion());
  ASSERT_TRUE(link.radio->GetVersionText(text));
  EXPECT_EQ(text, "v1.05");

  EXPECT_FALSE(link.radio->GetRadioVersion());
  EXPECT_EQ(link.radio->GetCachedVersion().major, -1);
  EXPECT_FALSE(link.radio->GetVersionText(text));
  EXPECT_EQ(text, "");
}

TEST(RadioFirmwareText, StopsAtTheEndOfAShortReply) {
  RadioLink link;
  ASSERT_TRUE(link.opened);
  int calls = 0;
  link.responder.Start([&calls](const Bytes&) -> std::optional<Bytes> {
    return calls++ == 0 ? Concat({0x3A}, Text("ABCDEFGHIJKLMNOP")) : Concat({0x3A}, Text("XYZ"));
  });
  char buffer[20];
  ASSERT_TRUE(link.radio->ReadFirmwareText(buffer, sizeof buffer));
  ASSERT_TRUE(link.radio->ReadFirmwareText(buffer, sizeof buffer));
  // Not "XYZDEFGHIJKLMNOP": nothing of the earlier reply may show through.
  EXPECT_STREQ(buffer, "XYZ");
  EXPECT_EQ(link.radio->GetFirmwareText(), "XYZ");
}

// ---- Protocol I through the command layer ----------------------------------

Bytes VornIFrame(uint8_t command, const Bytes& payload) {
  Bytes out(payload.size() + 3);
  EncodeVornIFrame(kVornIMarkerA, command, payload.data(), static_cast<int>(payload.size()), out.data());
  return out;
}

struct LampCase {
  const char* name;
  std::function<bool(const TRadio&)> lit;
  int byte;
  int bit;
};

TEST(RadioDisplay, AccessorsReadTheFetchedSnapshot) {
  RadioLink link;
  ASSERT_TRUE(link.opened);
  TRadio& r = *link.radio;
  const std::vector<LampCase> lamps = {
      {"Scan", [](const TRadio& t) { return t.Display().IsScanLit(); }, 7, 0},
      {"CallTo", [](const TRadio& t) { return t.Display().IsCallToLit(); }, 7, 2},
      {"CallFrom", [](const TRadio& t) { return t.Display().IsCallFromLit(); }, 7, 3},
      {"Q", [](const TRadio& t) { return t.Display().IsQLit(); }, 7, 4},
      {"M", [](const TRadio& t) { return t.Display().IsMLit(); }, 7, 5},
      {"Busy", [](const TRadio& t) { return t.Display().IsBusyLit(); }, 7, 6},
      {"Dup", [](const TRadio& t) { return t.Display().IsDupLit(); }, 7, 7},
      {"Tx", [](const TRadio& t) { return t.Display().IsTxLit(); }, 8, 1},
      {"Quiet", [](const TRadio& t) { return t.Display().IsQuietLit(); }, 8, 2},
      {"Silent", [](const TRadio& t) { return t.Display().IsSilentLit(); }, 8, 3},
      {"Dcs", [](const TRadio& t) { return t.Display().IsDcsLit(); }, 8, 4},
      {"Bluetooth", [](const TRadio& t) { return t.Display().IsBluetoothLit(); }, 8, 5},
      {"Digit1Flash", [](const TRadio& t) { return t.Display().IsChannelDigit1Flashing(); }, 9, 0},
      {"Digit2Flash", [](const TRadio& t) { return t.Display().IsChannelDigit2Flashing(); }, 9, 1},
      {"Alpha1Flash", [](const TRadio& t) { return t.Display().IsAlphaChar1Flashing(); }, 9, 2},
      {"Alpha2Flash", [](const TRadio& t) { return t.Display().IsAlphaChar2Flashing(); }, 9, 3},
      {"Alpha3Flash", [](const TRadio& t) { return t.Display().IsAlphaChar3Flashing(); }, 9, 4},
      {"Alpha4Flash", [](const TRadio& t) { return t.Display().IsAlphaChar4Flashing(); }, 9, 5},
      {"Alpha5Flash", [](const TRadio& t) { return t.Display().IsAlphaChar5Flashing(); }, 9, 6},
  };
  // A pattern and its complement, so that every lamp is seen both ways.
  for (const Bytes& icons : {Bytes{0xB5, 0x2A, 0x55}, Bytes{0x4A, 0xD5, 0xAA}}) {
    const Bytes display = Concat(Text("42HELLO"), icons);
    ASSERT_TRUE(link.peer.Write(VornIFrame(2, display)));
    ASSERT_TRUE(WaitUntil([&] {
      r.FetchDisplay();
      return r.Display().IsScanLit() == ((icons[0] & 1) != 0) && r.Display().GetChannelDigit1() == "4";
    }));
    EXPECT_EQ(r.Display().GetChannelDigit1(), "4");
    EXPECT_EQ(r.Display().GetChannelDigit2(), "2");
    const std::vector<std::string> alpha = {r.Display().GetAlphaChar1(), r.Display().GetAlphaChar2(), r.Display().GetAlphaChar3(),
                                            r.Display().GetAlphaChar4(), r.Display().GetAlphaChar5()};
    EXPECT_EQ(alpha, (std::vector<std::string>{"H", "E", "L", "L", "O"}));
    for (int i = 1; i <= 5; ++i) {
      EXPECT_EQ(r.Display().GetAlphaChar(i), alpha[i - 1]);
      EXPECT_EQ(r.Display().IsAlphaCharFlashing(i), ((display[9] >> (i + 1)) & 1) != 0) << i;
    }
    // Numbers that name no character read nothing, least of all past the
    // ten display bytes.
    for (int i : {-1, 0, 6, 9, 100}) {
      EXPECT_EQ(r.Display().GetAlphaChar(i), "") << i;
      EXPECT_FALSE(r.Display().IsAlphaCharFlashing(i)) << i;
    }
    for (const LampCase& lamp : lamps)
      EXPECT_EQ(lamp.lit(r), ((display[lamp.byte] >> lamp.bit) & 1) != 0) << lamp.name;
    EXPECT_FALSE(r.Display().IsPriLit());
    EXPECT_FALSE(r.Display().IsSignalScaleLit());
    for (int bar = 1; bar <= 8; ++bar) EXPECT_FALSE(r.Display().IsSignalBarLit(bar));
    for (bool bar : {r.Display().IsSignalBar1Lit(), r.Display().IsSignalBar2Lit(), r.Display().IsSignalBar3Lit(), r.Display().IsSignalBar4Lit(),
                     r.Display().IsSignalBar5Lit(), r.Display().IsSignalBar6Lit(), r.Display().IsSignalBar7Lit(), r.Display().IsSignalBar8Lit()})
      EXPECT_FALSE(bar);
  }

  ASSERT_TRUE(link.peer.Write(VornIFrame(3, {0x00, 0x00, 0x00, 0x01})));
  EXPECT_TRUE(WaitUntil([&] {
    r.FetchBacklight();
    return r.Display().GetBacklight() == 1;
  }));
  ASSERT_TRUE(link.peer.Write(VornIFrame(36, {0x03, 0x00, 0x02, 0x01, 0x34, 0x12})));
  EXPECT_TRUE(WaitUntil([&] {
    r.FetchBacklightColour();
    return r.Display().GetBacklightColour().red == 0x1234;
  }));
  EXPECT_EQ(r.Display().GetBacklightColour().green, 0x0102);
  EXPECT_EQ(r.Display().GetBacklightColour().blue, 0x0003);
}

TEST(RadioDisplay, SnapshotChangesOnlyWhenFetched) {
  RadioLink link;
  ASSERT_TRUE(link.opened);
  TRadio& r = *link.radio;
  ASSERT_TRUE(link.peer.Write(VornIFrame(2, Concat(Text("12ABCDE"), {0, 0, 0}))));
  ASSERT_TRUE(WaitUntil([&] {
    r.FetchDisplay();
    return r.Display().GetChannelDigit1() == "1";
  }));
  ASSERT_TRUE(link.peer.Write(VornIFrame(2, Concat(Text("34ABCDE"), {0, 0, 0}))));
  ASSERT_TRUE(WaitUntil([&] {
    uint8_t d[10];
    r.ProtocolI().CopyDisplayBytes(d);
    return d[0] == '3';
  }));
  EXPECT_EQ(r.Display().GetChannelDigit1(), "1");
  r.FetchDisplay();
  EXPECT_EQ(r.Display().GetChannelDigit1(), "3");
}

TEST(RadioFrontPanel, KeysAndPollsTravelAsProtocolIFrames) {
  RadioLink link;
  ASSERT_TRUE(link.opened);
  struct KeyCase {
    int key, event;
    Bytes wire;
  };
  const std::vector<KeyCase> keys = {
      {5, 0x30, {0x35, 0xCA, 0x04, 0xAA}},     // pressed
      {5, 0x10, {0x15, 0xEA, 0x04, 0xAA}},     // released
      {0x1C, 0xD0, {0x5C, 0xA3, 0x04, 0xAA}},  // held; stray bits masked off
  };
  for (const KeyCase& k : keys) {
    EXPECT_TRUE(link.radio->SendFrontPanelKey(k.key, k.event));
    EXPECT_EQ(link.peer.Read(k.wire.size()), k.wire) << k.key << "/" << k.event;
  }
  EXPECT_TRUE(link.radio->PollDisplay(0x80));
  EXPECT_EQ(link.peer.Read(7), (Bytes{0x03, 0x03, 0x01, 0x80, 0x78, 0x0A, 0xAA}));
  EXPECT_TRUE(link.radio->PollDisplay(0x00));
  EXPECT_EQ(link.peer.Read(7), (Bytes{0x03, 0x03, 0x01, 0x00, 0xF8, 0x0A, 0xAA}));
}

// ---- The line closed or lost ------------------------------------------------

TEST(RadioLine, ClosedPortFailsEveryCommandWithoutSending) {
  RadioLink link;
  ASSERT_TRUE(link.opened);
  ASSERT_TRUE(link.port.Close());
  TRadio& r = *link.radio;
  int value = 0;
  uint8_t buffer[128];
  const uint8_t raw[] = {0x05};
  EXPECT_FALSE(r.GetRadioVersion());
  std::string text = "stale";
  EXPECT_FALSE(r.GetVersionText(text));
  EXPECT_EQ(text, "");
  EXPECT_FALSE(r.ReadMemoryWord(0x0000, value));
  EXPECT_FALSE(r.WriteMemoryWord(0x0040, 0x1234));
  EXPECT_EQ(link.image.GetWord(0x0040), 0xFFFF);
  EXPECT_EQ(r.GetChannel(), -1);
  EXPECT_EQ(r.ReadMemoryArray(0x0000, 128, buffer), 0);
  EXPECT_FALSE(r.EnterProgMode());
  EXPECT_FALSE(r.SendRawCommand(raw, 1));
  EXPECT_EQ(r.ReadAdcChannel(1), -1);

  // Reopened, the radio sees none of the refused requests, only the probe.
  ASSERT_TRUE(link.port.Open(link.peer.SlavePath(), 9600));
  link.Answer(Bytes{0x00});
  EXPECT_TRUE(r.ProbeRadio());
  EXPECT_EQ(link.responder.Requests(), std::vector<Bytes>{{0x80}});
}

TEST(RadioLine, PortVanishingMidRequestFailsWithoutHanging) {
  RadioLink link;
  ASSERT_TRUE(link.opened);
  auto pending = std::async(std::launch::async, [&] { return link.radio->EnterProgMode(); });
  // The request is on the line (payload B9, checksum 46); then the lead is pulled.
  EXPECT_EQ(link.peer.Read(6, 2000), (Bytes{0x7E, 0x02, 0x01, 0xB9, 0x46, 0x7F}));
  link.peer.HangUp();
  ASSERT_EQ(pending.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_FALSE(pending.get());

  // Later commands fail as well instead of blocking on the dead line.
  auto next = std::async(std::launch::async, [&] {
    int value = 0;
    return link.radio->ReadMemoryWord(0x0000, value);
  });
  ASSERT_EQ(next.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_FALSE(next.get());
}

}  // namespace
