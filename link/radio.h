#pragma once
// The radio command layer: one method per radio command. Each builds a
// protocol II request, sends it with the command's time limit and parses
// the reply. One request and one reply record and no lock: only one
// command may be in progress at a time.

#include <cstdint>
#include <memory>
#include <string>

#include "displaysnapshot.h"
#include "platform.h"
#include "radioprotocol.h"
#include "vorniiprotocol.h"
#include "vorniprotocol.h"

class SerialPort;
class TradioInfo;

inline constexpr int kTimeoutNormal = 350;
inline constexpr int kTimeoutArray = 500;
inline constexpr int kTimeoutProgMode = 1000;
inline constexpr int kTimeoutAutoAlign = 5000;

struct RadioVersion {
  int major = -1;
  int minor = 0;
  int suffix = 0;
};

class TRadio {
 public:
  // info: the current model, for the parameter addresses. The radio layer
  // never touches a memory image: a caller that wants the image to follow
  // a write stores the value there itself.
  TRadio(SerialPort& port, const TradioInfo& info, uint32_t buildProductId);
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

  // Whole reads of the radio started in this session: a write before the
  // first asks the user first.
  int RadioReadCount() const { return radioReadCount_; }
  void CountRadioRead() { ++radioReadCount_; }
  // The last value each of the eight A/D channels reported (0 before any;
  // any other channel number reads 0).
  int CachedAdc(int channel) const { return channel >= 0 && channel < 8 ? adcCache_[channel] : 0; }

  // State the windows read.
  int currentChannel = 0;
  int rawChannel = 0;
  int frequencyError = 0;

  // The front panel's display, copied from protocol I on request.
  void FetchDisplay() { display_.FetchDisplay(*protocolI_); }
  void FetchBacklight() { display_.FetchBacklight(*protocolI_); }
  void FetchBacklightColour() { display_.FetchBacklightColour(*protocolI_); }
  const DisplaySnapshot& Display() const { return display_; }

  vornI_Protocol& ProtocolI() { return *protocolI_; }
  vornII_Protocol& ProtocolII() { return *protocolII_; }
  SerialPort& Port() { return port_; }
  uint32_t BuildProductId() const { return buildProductId_; }

  // Older firmware reports some channels with bit 7 inverted; these give
  // the channel a reply means, for the alignment window and tests.
  static int ToggleChannel(int v) { return v >= 128 ? v - 128 : v + 128; }
  int ChannelOfGetReply(int raw) const;   // OP_GET_CHANNEL
  int ChannelOfStepReply(int raw) const;  // OP_STEP_UP / OP_STEP_DOWN

 private:
  // Sends request_, fills reply_. Memory reads pass the two address bytes
  // their reply must repeat.
  bool Command(int timeoutMs, int echoedBytes = 0);
  void Begin(uint8_t opcode);
  void Add(uint8_t byte);
  void AddWord(int value);

  SerialPort& port_;
  const TradioInfo& info_;
  uint32_t buildProductId_;
  std::unique_ptr<vornI_Protocol> protocolI_;
  std::unique_ptr<vornII_Protocol> protocolII_;
  RadioVersion version_;
  VORN_PACKET_STRUCT_TAG request_;
  VORN_PACKET_STRUCT_TAG reply_;
  std::string firmwareText_;
  DisplaySnapshot display_;
  int radioReadCount_ = 0;
  int adcCache_[8] = {};
};
