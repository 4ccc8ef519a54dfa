#pragma once
// The simulated radio's firmware: its memory, its state, and what it does
// with each protocol II request and front-panel key. No I/O and no
// threads; SimulatedRadio puts it on a line and guards it with a lock.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "eeprom.h"
#include "simmodels.h"

inline constexpr uint32_t kSimDefaultLineRate = 9600;
inline constexpr int kSimCbChannels = 80;
inline constexpr int kSimLastChannel = 180;  // 81..180: receive-only channels
inline constexpr int kSimRamSize = 65536;

// What the radio is doing. Channel numbers are the true ones (1..80 CB,
// 81..180 receive-only); the raw bytes on the wire are derived from them.
struct SimState {
  int channel = 11;
  bool progMode = false;
  int testMode = 0;
  int volume = 8;
  bool ptt = false;
  int rfPowerLevel = 0;
  int rfPowerSecond = 2;
  bool signal = false;         // a carrier on the channel (BUSY)
  bool squelchForced = false;  // engineering "squelch open"
  bool scan = false;
  bool backlight = true;
  uint32_t lineRate = kSimDefaultLineRate;
  bool afc = true;
  bool wideband = false;
  bool lowPower = false;
  int txTone = 15;  // 15 = off
  int ctcssTone = 0;
  int beepHz = 0;
  int pllSteps = 0;  // 0 = on the channel, else a frequency / 12 500 Hz
  bool lcdOverride = false;  // an engineering LCD write holds the display
  std::array<uint8_t, 10> lcd{};
};

// Key codes of the front panel (low four bits of a key byte) and events.
enum SimKey : uint8_t {
  kSimKeyChannelDown = 0,
  kSimKeyChannelUp = 1,
  kSimKeyScan = 3,  // F1
  kSimKeyPtt = 6,
  kSimKeyBacklight = 8,  // B
};
inline constexpr uint8_t kSimKeyPressed = 0x30;
inline constexpr uint8_t kSimKeyReleased = 0x10;
inline constexpr uint8_t kSimKeyHeld = 0x50;

class SimRadioCore {
 public:
  explicit SimRadioCore(uint32_t productId);

  uint32_t ProductId() const { return productId_; }

  // Answers one request payload (opcode byte with the request flag, then
  // arguments). The reply payload's opcode byte carries the command
  // number, bit 6 when the request is refused, and bit 7 where the model
  // sets it. Returns false when the radio refused the request.
  bool Execute(const uint8_t* request, int length, std::vector<uint8_t>& reply);
  // The refusal of a command: its number with bit 6 (and bit 7 where the
  // model sets it).
  std::vector<uint8_t> Refusal(uint8_t command) const;
  // A line rate the radio moves to once its last reply is out (baud-rate
  // switch, reset); 0 when none. Reading clears it.
  uint32_t TakePendingLineRate();
  // Whether a baud-rate switch takes any rate, not only those the radio
  // knows (a fault: the rate may be one no computer port can run).
  bool anyLineRate = false;

  // A front-panel key byte (code in bits 0-3, event in bits 4-6).
  void HandleKey(uint8_t key);
  // The ten display bytes D0..D9 as the radio would send them now.
  std::array<uint8_t, 10> DisplayBytes() const;

  // The raw channel bytes this firmware reports, from the true channel.
  uint8_t RawChannelForGet() const;
  uint8_t RawChannelForStep() const;

  EEPROM memory;
  SimState state;
  SimVersion version;
  std::string firmwareText;
  std::array<uint8_t, 8> radioId{};
  std::vector<uint8_t> ram;  // the processor's address space for peek and poke

 private:
  using Handler = bool (SimRadioCore::*)(const uint8_t*, int, std::vector<uint8_t>&);
  struct CommandRow {
    uint8_t command;
    int length;  // minimum request length, opcode byte included
    Handler handler;
  };
  static const CommandRow* FindCommand(uint8_t command);
  static const CommandRow* FindEngineering(uint8_t sub);
  bool SetsBit7(uint8_t command) const;

  bool Version(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool ReadByte(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool ReadWord(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool ReadBlock(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool GetChannel(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool Status(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool ReadArray(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool ReadRadioId(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool WriteByte(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool WriteWord(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool WriteBlock(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool SetChannel(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool SetRfPower(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool SetPtt(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool StepUp(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool StepDown(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool WriteArray(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool WriteRadioId(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool SetVolume(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool Engineering(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool SetTestMode(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool EnterProgMode(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool FirmwareText(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool SetBaudRate(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool Reset(const uint8_t* r, int n, std::vector<uint8_t>& out);

  // Engineering sub-commands (r[1] is the sub-command).
  bool Peek(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool ReadAdc(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool Poke(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool TxTone(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool CtcssTone(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool WriteLcd(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool SquelchOpen(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool PllFrequency(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool AutoAlign(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool BeepTone(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool AudioSamples(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool FrequencyError(const uint8_t* r, int n, std::vector<uint8_t>& out);
  bool AfcMode(const uint8_t* r, int n, std::vector<uint8_t>& out);

  void Step(int direction);
  int AdcValue(int channel) const;
  int ParamAddress(Param param) const;

  uint32_t productId_;
  uint32_t pendingLineRate_ = 0;
};

// toggle(v): bit 7 flipped, as old firmware reports channels.
inline uint8_t SimToggleChannel(uint8_t v) { return static_cast<uint8_t>(v ^ 0x80); }
