#pragma once
// The radio command layer: one method per radio command. Each builds a
// protocol II request, sends it with the command's time limit and parses
// the reply. One request and one reply record and no lock: only one
// command may be in progress at a time.

#include <cstdint>
#include <memory>
#include <string>

#include "platform.h"
#include "vorniiprotocol.h"
#include "vorniprotocol.h"

class EEbuffer;
class SerialPort;
class TradioInfo;

// Opcodes (command numbers) of protocol II.
enum RadioOpcode : uint8_t {
  OP_GET_VERSION = 0,
  OP_READ_BYTE = 1,
  OP_READ_WORD = 2,
  OP_READ_BLOCK = 3,
  OP_GET_CHANNEL = 4,
  OP_GET_STATUS = 5,
  OP_READ_ARRAY = 11,
  OP_READ_RADIO_ID = 12,
  OP_WRITE_BYTE = 33,
  OP_WRITE_WORD = 34,
  OP_WRITE_BLOCK = 35,
  OP_SET_CHANNEL = 36,
  OP_SET_RF_POWER = 37,
  OP_SET_PTT = 38,
  OP_STEP_UP = 41,
  OP_STEP_DOWN = 42,
  OP_WRITE_ARRAY = 43,
  OP_WRITE_RADIO_ID = 44,
  OP_SET_VOLUME = 47,
  OP_ENGINEERING = 52,
  OP_SET_TEST_MODE = 56,
  OP_ENTER_PROG_MODE = 57,
  OP_READ_FIRMWARE_TEXT = 58,
  OP_SET_BAUD_RATE = 59,
  OP_RESET = 63,
};

// Sub-commands of OP_ENGINEERING (first request byte).
enum EngineeringSub : uint8_t {
  ENG_PEEK = 0x01,
  ENG_READ_ADC = 0x08,
  ENG_POKE = 0x81,
  ENG_TX_TONE = 0x82,
  ENG_CTCSS_TONE = 0x83,
  ENG_WRITE_LCD = 0x84,
  ENG_SQUELCH_OPEN = 0x86,
  ENG_PLL_FREQUENCY = 0x88,
  ENG_AUTO_ALIGN = 0x89,
  ENG_BEEP_TONE = 0x8A,
  ENG_AUDIO_SAMPLES = 0x8B,
  ENG_FREQUENCY_ERROR = 0x8C,
  ENG_AFC = 0x8D,
};

inline constexpr int kTimeoutNormal = 350;
inline constexpr int kTimeoutArray = 500;
inline constexpr int kTimeoutProgMode = 1000;
inline constexpr int kTimeoutAutoAlign = 5000;
inline constexpr int kMaxArrayCount = 251;
inline constexpr int kMaxAudioSamples = 126;

struct RadioVersion {
  int major = -1;
  int minor = 0;
  int suffix = 0;
};

class TRadio {
 public:
  // image: the memory image written through by WriteMemoryByte/Word.
  // info: the current model, for the parameter addresses.
  TRadio(SerialPort& port, EEbuffer& image, const TradioInfo& info, uint32_t buildProductId);
  ~TRadio();
  TRadio(const TRadio&) = delete;
  TRadio& operator=(const TRadio&) = delete;

  // echoedBytes: see vornII_Protocol::Transact.
  bool SendCommand(VORN_PACKET_STRUCT_TAG& request, VORN_PACKET_STRUCT_TAG* reply, int timeoutMs,
                   int echoedBytes = 0);

  bool GetRadioVersion();
  bool ProbeRadio();
  bool ReadMemoryByte(int address, int& value);
  bool ReadMemoryWord(int address, int& value);
  bool ReadMemoryBlock(int address, uint8_t* buffer16);
  int GetChannel();  // raw 0..255, -1 without reply
  bool GetRadioStatus(int& status);
  int ReadMemoryArray(int address, int count, uint8_t* buffer);  // n, 0 without reply
  bool ReadRadioId(uint8_t* buffer8);
  bool WriteMemoryByte(int address, int value);
  bool WriteMemoryWord(int address, int value);
  bool WriteMemoryBlock(int address, const uint8_t* bytes16);
  bool SetChannel(int channel);
  bool SetRfPower(int level, int secondByte = 2);
  bool SetPtt(bool on);
  bool StepChannel(int step, int& channel);
  bool WriteMemoryArray(int address, int count, const uint8_t* bytes);
  bool WriteRadioId(const uint8_t* bytes8);
  bool SetVolume(int level);
  bool SetTestMode(int mode);
  bool EnterProgMode();
  bool ReadFirmwareText(char* buffer, int bufferSize);
  bool SetRadioBaudRate(uint32_t rate);
  bool ResetRadio();
  bool SendRawCommand(const uint8_t* bytes, int length);

  // Engineering and alignment sub-commands.
  bool PeekMemory(int address, int& value);
  int ReadAdcChannel(int channel);  // 0..255, -1 on failure
  bool PokeMemory(int address, int data, int mask);
  bool SetTxTone(int tone);
  bool SetCtcssTone(int tone);
  bool WriteLcd(const char digits[2], const char text[5], int icons, int flags);
  bool SetSquelchOpen(bool open);
  bool SetPllFrequency(int steps);
  bool StartAutoAlign(int mask, int start, int stop, int step);
  bool SetBeepTone(int hertz);
  bool ReadAudioSamples(int count, int16_t* values);
  bool ReadFrequencyError(int& value);
  bool SetAfcEnable(bool on);
  bool SetWideband();
  bool SetLowPower(bool low);

  // Derived and local operations.
  bool ReadProductId(int& value);
  bool ReadPcbRevision(int& value);
  RadioVersion GetCachedVersion() const { return version_; }
  bool GetVersionText(std::string& text) const;
  std::string GetFirmwareText() const { return firmwareText_; }
  void SetDisplayWindow(MessageReceiver* window);
  bool PollDisplay(uint8_t argument);
  bool SendFrontPanelKey(int key, int event);

  // State the windows read.
  int radioReadCount = 0;
  int currentChannel = 0;
  int rawChannel = 0;
  int frequencyError = 0;
  int adcCache[8] = {};

  // Display snapshot, copied from protocol I on request.
  void FetchDisplay();
  void FetchBacklight();
  void FetchBacklightColour();
  int GetBacklight() const { return backlight_; }
  BacklightColour GetBacklightColour() const { return colour_; }
  std::string GetChannelDigit1() const { return CharAt(0); }
  std::string GetChannelDigit2() const { return CharAt(1); }
  // i = 1..5; any other number names no character and gives "".
  std::string GetAlphaChar(int i) const { return IsAlphaIndex(i) ? CharAt(1 + i) : std::string(); }
  std::string GetAlphaChar1() const { return GetAlphaChar(1); }
  std::string GetAlphaChar2() const { return GetAlphaChar(2); }
  std::string GetAlphaChar3() const { return GetAlphaChar(3); }
  std::string GetAlphaChar4() const { return GetAlphaChar(4); }
  std::string GetAlphaChar5() const { return GetAlphaChar(5); }
  bool IsScanLit() const { return Bit(7, 0); }
  bool IsCallToLit() const { return Bit(7, 2); }
  bool IsCallFromLit() const { return Bit(7, 3); }
  bool IsQLit() const { return Bit(7, 4); }
  bool IsMLit() const { return Bit(7, 5); }
  bool IsBusyLit() const { return Bit(7, 6); }
  bool IsDupLit() const { return Bit(7, 7); }
  bool IsTxLit() const { return Bit(8, 1); }
  bool IsQuietLit() const { return Bit(8, 2); }
  bool IsSilentLit() const { return Bit(8, 3); }
  bool IsDcsLit() const { return Bit(8, 4); }
  bool IsBluetoothLit() const { return Bit(8, 5); }
  bool IsChannelDigit1Flashing() const { return Bit(9, 0); }
  bool IsChannelDigit2Flashing() const { return Bit(9, 1); }
  bool IsAlphaCharFlashing(int i) const { return IsAlphaIndex(i) && Bit(9, 1 + i); }  // i = 1..5
  bool IsAlphaChar1Flashing() const { return IsAlphaCharFlashing(1); }
  bool IsAlphaChar2Flashing() const { return IsAlphaCharFlashing(2); }
  bool IsAlphaChar3Flashing() const { return IsAlphaCharFlashing(3); }
  bool IsAlphaChar4Flashing() const { return IsAlphaCharFlashing(4); }
  bool IsAlphaChar5Flashing() const { return IsAlphaCharFlashing(5); }
  // The display frames carry no priority, scale or signal-bar segments.
  bool IsPriLit() const { return false; }
  bool IsSignalScaleLit() const { return false; }
  bool IsSignalBarLit(int) const { return false; }
  bool IsSignalBar1Lit() const { return false; }
  bool IsSignalBar2Lit() const { return false; }
  bool IsSignalBar3Lit() const { return false; }
  bool IsSignalBar4Lit() const { return false; }
  bool IsSignalBar5Lit() const { return false; }
  bool IsSignalBar6Lit() const { return false; }
  bool IsSignalBar7Lit() const { return false; }
  bool IsSignalBar8Lit() const { return false; }

  vornI_Protocol& ProtocolI() { return *protocolI_; }
  vornII_Protocol& ProtocolII() { return *protocolII_; }
  SerialPort& Port() { return port_; }
  uint32_t BuildProductId() const { return buildProductId_; }

  // The channel rules, exposed for the alignment window and tests.
  static int ToggleChannel(int v) { return v >= 128 ? v - 128 : v + 128; }
  int ApplyRuleA(int raw) const;
  int ApplyRuleB(int raw) const;

 private:
  static bool IsAlphaIndex(int i) { return i >= 1 && i <= 5; }
  std::string CharAt(int i) const { return std::string(1, static_cast<char>(display_[i])); }
  bool Bit(int byte, int bit) const { return (display_[byte] >> bit) & 1; }
  // Sends request_, fills reply_. Memory reads pass the two address bytes
  // their reply must repeat.
  bool Command(int timeoutMs, int echoedBytes = 0);
  void Begin(uint8_t opcode);
  void Add(uint8_t byte);
  void AddWord(int value);

  SerialPort& port_;
  EEbuffer& image_;
  const TradioInfo& info_;
  uint32_t buildProductId_;
  std::unique_ptr<vornI_Protocol> protocolI_;
  std::unique_ptr<vornII_Protocol> protocolII_;
  RadioVersion version_;
  VORN_PACKET_STRUCT_TAG request_;
  VORN_PACKET_STRUCT_TAG reply_;
  std::string firmwareText_;
  uint8_t display_[10] = {};
  int backlight_ = 0;
  BacklightColour colour_;
};
