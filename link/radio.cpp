#include "radio.h"

#include <algorithm>
#include <cstring>

#include "radioinfo.h"
#include "serialport.h"

// Replies are read at fixed positions. A reply too short to carry the
// fields a command reads is treated like any other reply of the wrong
// layout: the command fails, instead of reporting whatever an earlier
// reply left in the record.

TRadio::TRadio(SerialPort& port, const TradioInfo& info, uint32_t buildProductId)
    : port_(port), info_(info), buildProductId_(buildProductId) {
  // Protocol I first, so that it is serial listener 0 and protocol II 1.
  protocolI_ = std::make_unique<vornI_Protocol>(port_);
  protocolII_ = std::make_unique<vornII_Protocol>(port_, buildProductId_);
  // Whichever engine completes a frame makes the other drop its partial one.
  protocolII_->SetNotifyEvent(protocolI_->GetResetEvent());
  protocolI_->SetNotifyEvent(protocolII_->GetResetEvent());
}

TRadio::~TRadio() {
  // Each engine signals the other's reset event from its thread, so both
  // threads are stopped before either engine (and its events) goes away.
  protocolI_->Stop();
  protocolII_->Stop();
  protocolI_->SetNotifyEvent(nullptr);
  protocolII_->SetNotifyEvent(nullptr);
  protocolI_.reset();
  protocolII_.reset();
}

bool TRadio::SendCommand(VORN_PACKET_STRUCT_TAG& request, VORN_PACKET_STRUCT_TAG* reply,
                         int timeoutMs, int echoedBytes) {
  if (!port_.IsOpen()) return false;
  return protocolII_->Transact(request, reply, timeoutMs, echoedBytes);
}

void TRadio::Begin(uint8_t opcode) {
  request_.length = 0;
  Add(opcode);
}

void TRadio::Add(uint8_t byte) {
  if (request_.length < kVornIIMaxPayload) request_.data[request_.length++] = byte;
}

void TRadio::AddWord(int value) {
  Add(static_cast<uint8_t>((value >> 8) & 0xFF));
  Add(static_cast<uint8_t>(value & 0xFF));
}

bool TRadio::Command(int timeoutMs, int echoedBytes) {
  return SendCommand(request_, &reply_, timeoutMs, echoedBytes);
}

namespace {
// A memory read's reply repeats the address it answers.
constexpr int kEchoedAddress = 2;

// True when the reply carries at least `count` payload bytes.
bool Carries(const VORN_PACKET_STRUCT_TAG& reply, int count) { return reply.length >= count; }
}  // namespace

// ---- Commands with their own opcode ---------------------------------------

bool TRadio::GetRadioVersion() {
  version_.major = -1;
  Begin(OP_GET_VERSION);
  if (!Command(kTimeoutNormal) || !Carries(reply_, 3)) return false;
  version_.major = reply_.data[1];
  version_.minor = reply_.data[2];
  version_.suffix = reply_.length >= 4 ? reply_.data[3] : 0;
  return true;
}

bool TRadio::ProbeRadio() {
  Begin(OP_GET_VERSION);
  return Command(kTimeoutNormal);
}

bool TRadio::ReadMemoryByte(int address, int& value) {
  Begin(OP_READ_BYTE);
  AddWord(address);
  if (!Command(kTimeoutNormal, kEchoedAddress) || !Carries(reply_, 4)) return false;
  value = reply_.data[3];
  return true;
}

bool TRadio::ReadMemoryWord(int address, int& value) {
  Begin(OP_READ_WORD);
  AddWord(address);
  if (!Command(kTimeoutNormal, kEchoedAddress) || !Carries(reply_, 5)) return false;
  value = reply_.data[3] * 256 + reply_.data[4];
  return true;
}

bool TRadio::ReadMemoryBlock(int address, uint8_t* buffer16) {
  Begin(OP_READ_BLOCK);
  AddWord(address);
  if (!Command(kTimeoutNormal, kEchoedAddress) || !Carries(reply_, 3 + 16)) return false;
  std::memcpy(buffer16, reply_.data + 3, 16);
  return true;
}

int TRadio::GetChannel() {
  Begin(OP_GET_CHANNEL);
  if (!Command(kTimeoutNormal) || !Carries(reply_, 2)) return -1;
  const int raw = reply_.data[1];
  rawChannel = raw;
  currentChannel = ChannelOfGetReply(raw);
  return raw;
}

bool TRadio::GetRadioStatus(int& status) {
  Begin(OP_GET_STATUS);
  if (!Command(kTimeoutNormal) || !Carries(reply_, 2)) return false;
  status = reply_.data[1];
  return true;
}

int TRadio::ReadMemoryArray(int address, int count, uint8_t* buffer) {
  // The count travels in one byte and a reply holds at most 251 data bytes.
  if (count < 1 || count > kMaxArrayCount || !buffer) return 0;
  Begin(OP_READ_ARRAY);
  AddWord(address);
  Add(static_cast<uint8_t>(count));
  if (!Command(kTimeoutArray, kEchoedAddress) || !Carries(reply_, 4)) return 0;
  // Trust neither the reply's count beyond the bytes it actually carries
  // nor beyond what the caller asked for (and sized its buffer for).
  const int n = std::min({static_cast<int>(reply_.data[3]), reply_.length - 4, count});
  std::memcpy(buffer, reply_.data + 4, n);
  return n;
}

bool TRadio::ReadRadioId(uint8_t* buffer8) {
  Begin(OP_READ_RADIO_ID);
  if (!Command(kTimeoutNormal) || !Carries(reply_, 9)) return false;
  std::memcpy(buffer8, reply_.data + 1, 8);
  return true;
}

bool TRadio::WriteMemoryByte(int address, int value) {
  Begin(OP_WRITE_BYTE);
  AddWord(address);
  Add(static_cast<uint8_t>(value));
  return Command(kTimeoutNormal);
}

bool TRadio::WriteMemoryWord(int address, int value) {
  Begin(OP_WRITE_WORD);
  AddWord(address);
  AddWord(value);
  return Command(kTimeoutNormal);
}

bool TRadio::WriteMemoryBlock(int address, const uint8_t* bytes16) {
  Begin(OP_WRITE_BLOCK);
  AddWord(address);
  for (int i = 0; i < 16; ++i) Add(bytes16[i]);
  return Command(kTimeoutNormal);
}

bool TRadio::SetChannel(int channel) {
  Begin(OP_SET_CHANNEL);
  Add(static_cast<uint8_t>(channel));
  return Command(kTimeoutNormal);
}

bool TRadio::SetRfPower(int level, int secondByte) {
  Begin(OP_SET_RF_POWER);
  Add(static_cast<uint8_t>(level));
  Add(static_cast<uint8_t>(secondByte));
  return Command(kTimeoutNormal);
}

bool TRadio::SetPtt(bool on) {
  Begin(OP_SET_PTT);
  Add(on ? 1 : 0);
  return Command(kTimeoutNormal);
}

bool TRadio::StepChannel(int step, int& channel) {
  Begin(step >= 0 ? OP_STEP_UP : OP_STEP_DOWN);
  if (!Command(kTimeoutNormal) || !Carries(reply_, 2)) return false;
  const int raw = reply_.data[1];
  rawChannel = raw;
  currentChannel = ChannelOfStepReply(raw);
  channel = currentChannel;
  return true;
}

bool TRadio::WriteMemoryArray(int address, int count, const uint8_t* bytes) {
  if (count < 1 || count > kMaxArrayCount || !bytes) return false;
  Begin(OP_WRITE_ARRAY);
  AddWord(address);
  Add(static_cast<uint8_t>(count));
  for (int i = 0; i < count; ++i) Add(bytes[i]);
  return Command(kTimeoutArray);
}

bool TRadio::WriteRadioId(const uint8_t* bytes8) {
  Begin(OP_WRITE_RADIO_ID);
  for (int i = 0; i < 8; ++i) Add(bytes8[i]);
  return Command(kTimeoutNormal);
}

bool TRadio::SetVolume(int level) {
  Begin(OP_SET_VOLUME);
  Add(static_cast<uint8_t>(level));
  return Command(kTimeoutNormal) && reply_.length == 1;
}

bool TRadio::SetTestMode(int mode) {
  Begin(OP_SET_TEST_MODE);
  Add(static_cast<uint8_t>(mode));
  return Command(kTimeoutNormal);
}

bool TRadio::EnterProgMode() {
  Begin(OP_ENTER_PROG_MODE);
  return Command(kTimeoutProgMode) && reply_.length == 1;
}

bool TRadio::ReadFirmwareText(char* buffer, int bufferSize) {
  Begin(OP_READ_FIRMWARE_TEXT);
  if (!Command(kTimeoutNormal)) return false;
  std::string text;
  for (int i = 1; i < reply_.length && i <= 16 && reply_.data[i] != 0; ++i)
    text.push_back(static_cast<char>(reply_.data[i]));
  firmwareText_ = text;
  if (buffer && bufferSize > 0) {
    const size_t n = std::min(text.size(), static_cast<size_t>(bufferSize - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
  }
  return true;
}

bool TRadio::SetRadioBaudRate(uint32_t rate) {
  Begin(OP_SET_BAUD_RATE);
  const uint8_t bytes[3] = {static_cast<uint8_t>(rate >> 16), static_cast<uint8_t>(rate >> 8),
                            static_cast<uint8_t>(rate)};
  for (uint8_t b : bytes) Add(b);
  // The radio echoes the rate it is about to switch to.
  return Command(kTimeoutNormal) && Carries(reply_, 4) &&
         std::memcmp(reply_.data + 1, bytes, 3) == 0;
}

bool TRadio::ResetRadio() {
  Begin(OP_RESET);
  return Command(kTimeoutProgMode) && reply_.length == 1;
}

bool TRadio::SendRawCommand(const uint8_t* bytes, int length) {
  if (!bytes || length < 1 || length > kVornIIMaxPayload) return false;
  request_.length = length;
  std::memcpy(request_.data, bytes, length);
  return SendCommand(request_, nullptr, 0);
}

// ---- Engineering and alignment sub-commands --------------------------------

namespace {
// Engineering replies report a refused sub-command in bit 0 of byte 1.
bool EngineeringOk(const VORN_PACKET_STRUCT_TAG& reply) { return (reply.data[1] & 1) == 0; }
}  // namespace

bool TRadio::PeekMemory(int address, int& value) {
  Begin(OP_ENGINEERING);
  Add(ENG_PEEK);
  AddWord(address);
  if (!Command(kTimeoutNormal) || !Carries(reply_, 5) || !EngineeringOk(reply_)) return false;
  value = reply_.data[4];
  return true;
}

int TRadio::ReadAdcChannel(int channel) {
  // The radio has eight A/D channels; anything else is the caller's error
  // and would index past the cache.
  if (channel < 0 || channel > 7) return -1;
  Begin(OP_ENGINEERING);
  Add(ENG_READ_ADC);
  Add(static_cast<uint8_t>(channel));
  if (!Command(kTimeoutNormal) || !Carries(reply_, 4) || !EngineeringOk(reply_)) return -1;
  adcCache_[reply_.data[2] & 7] = reply_.data[3];
  return adcCache_[channel];
}

bool TRadio::PokeMemory(int address, int data, int mask) {
  Begin(OP_ENGINEERING);
  Add(ENG_POKE);
  AddWord(address);
  Add(static_cast<uint8_t>(data));
  Add(static_cast<uint8_t>(mask));
  return Command(kTimeoutNormal);
}

bool TRadio::SetTxTone(int tone) {
  Begin(OP_ENGINEERING);
  Add(ENG_TX_TONE);
  Add(static_cast<uint8_t>(tone));
  return Command(kTimeoutNormal);
}

bool TRadio::SetCtcssTone(int tone) {
  Begin(OP_ENGINEERING);
  Add(ENG_CTCSS_TONE);
  Add(static_cast<uint8_t>(tone));
  return Command(kTimeoutNormal);
}

bool TRadio::WriteLcd(const char digits[2], const char text[5], int icons, int flags) {
  Begin(OP_ENGINEERING);
  Add(ENG_WRITE_LCD);
  for (int i = 0; i < 2; ++i) Add(static_cast<uint8_t>(digits[i]));
  for (int i = 0; i < 5; ++i) Add(static_cast<uint8_t>(text[i]));
  Add(static_cast<uint8_t>(icons & 0xFF));
  Add(static_cast<uint8_t>((icons >> 8) & 0xFF));
  Add(static_cast<uint8_t>(flags));
  return Command(kTimeoutNormal);
}

bool TRadio::SetSquelchOpen(bool open) {
  Begin(OP_ENGINEERING);
  Add(ENG_SQUELCH_OPEN);
  Add(open ? 1 : 0);
  return Command(kTimeoutNormal);
}

bool TRadio::SetPllFrequency(int steps) {
  Begin(OP_ENGINEERING);
  Add(ENG_PLL_FREQUENCY);
  AddWord(steps);
  return Command(kTimeoutNormal);
}

bool TRadio::StartAutoAlign(int mask, int start, int stop, int step) {
  Begin(OP_ENGINEERING);
  Add(ENG_AUTO_ALIGN);
  Add(static_cast<uint8_t>(mask));
  Add(static_cast<uint8_t>(start));
  Add(static_cast<uint8_t>(stop));
  Add(static_cast<uint8_t>(step));
  return Command(kTimeoutAutoAlign);
}

bool TRadio::SetBeepTone(int hertz) {
  Begin(OP_ENGINEERING);
  Add(ENG_BEEP_TONE);
  AddWord(hertz);
  return Command(kTimeoutNormal);
}

bool TRadio::ReadAudioSamples(int count, int16_t* values) {
  if (count < 1 || !values) return false;
  count = std::min(count, kMaxAudioSamples);
  Begin(OP_ENGINEERING);
  Add(ENG_AUDIO_SAMPLES);
  Add(static_cast<uint8_t>(count));
  // A reply that carries fewer samples than asked for is refused whole, so
  // the chart never shows samples the radio did not send.
  if (!Command(kTimeoutNormal) || !Carries(reply_, 1 + 2 * count)) return false;
  for (int i = 0; i < count; ++i)
    values[i] = static_cast<int16_t>(reply_.data[1 + 2 * i] << 8 | reply_.data[2 + 2 * i]);
  return true;
}

bool TRadio::ReadFrequencyError(int& value) {
  Begin(OP_ENGINEERING);
  Add(ENG_FREQUENCY_ERROR);
  if (!Command(kTimeoutNormal) || !Carries(reply_, 4)) return false;
  frequencyError = static_cast<int16_t>(reply_.data[3] << 8 | reply_.data[2]);
  value = frequencyError;
  return true;
}

bool TRadio::SetAfcEnable(bool on) {
  Begin(OP_ENGINEERING);
  Add(ENG_AFC);
  Add(on ? 1 : 0);
  return Command(kTimeoutNormal);
}

bool TRadio::SetWideband() {
  Begin(OP_ENGINEERING);
  Add(ENG_AFC);
  Add(2);
  return Command(kTimeoutNormal);
}

bool TRadio::SetLowPower(bool low) {
  Begin(OP_ENGINEERING);
  Add(ENG_AFC);
  Add(low ? 4 : 0);
  return Command(kTimeoutNormal);
}

// ---- Derived and local operations ------------------------------------------

bool TRadio::ReadProductId(int& value) {
  const int address = info_.GetParamAddress(kParamProductId);
  return address >= 0 && ReadMemoryWord(address, value);
}

bool TRadio::ReadPcbRevision(int& value) {
  const int address = info_.GetParamAddress(kParamPcbRev);
  return address >= 0 && ReadMemoryWord(address, value);
}

bool TRadio::GetVersionText(std::string& text) const {
  text.clear();
  if (version_.major < 0) return false;
  static const char kHex[] = "0123456789ABCDEF";
  // The major number is shown with major / 10 + 1 hexadecimal digits.
  std::string major;
  for (int v = version_.major; v > 0; v /= 16) major.insert(major.begin(), kHex[v % 16]);
  const size_t width = static_cast<size_t>(version_.major / 10 + 1);
  if (major.size() < width) major.insert(0, width - major.size(), '0');
  text = "v" + major + "." + kHex[(version_.minor >> 4) & 0xF] + kHex[version_.minor & 0xF];
  if (version_.suffix != 0) text.push_back(static_cast<char>(version_.suffix));
  return true;
}

void TRadio::SetDisplayWindow(MessageReceiver* window) { protocolI_->SetDisplayWindow(window); }

bool TRadio::PollDisplay(uint8_t argument) { return protocolI_->SendPoll(argument); }

bool TRadio::SendFrontPanelKey(int key, int event) {
  protocolI_->SendKey(static_cast<uint8_t>((key & 0x0F) | (event & 0x70)));
  return true;
}

// ---- Channel rules ---------------------------------------------------------

int TRadio::ChannelOfGetReply(int raw) const {
  // Dravo firmware before 2.0 reports the channel with bit 7 inverted.
  if (buildProductId_ == kProductDravo && version_.major < 2) return ToggleChannel(raw);
  return raw;
}

// Step replies come with bit 7 inverted on more models and firmware
// versions than channel replies.
int TRadio::ChannelOfStepReply(int raw) const {
  const int major = version_.major;
  const int minor = version_.minor;
  switch (buildProductId_) {
    case kProductKestal:
    case kProductTamso:
      return raw;
    case kProductMerlo:
    case kProductDravo:
      if (major >= 2) return raw;
      break;
    case kProductPinto:
      if (major > 1 || (major == 1 && minor >= 1)) return raw;
      break;
    default:
      break;
  }
  return ToggleChannel(raw);
}
