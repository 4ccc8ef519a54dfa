// The radio's protocol II command set: one handler per command number,
// each appending its reply fields after the reply's opcode byte. The
// engineering sub-commands and the front panel are in simengineering.cpp
// and simpanel.cpp.

#include "simradiocore.h"

#include <algorithm>

#include "radioinfo.h"
#include "radioprotocol.h"
#include "simimage.h"

namespace {
constexpr uint32_t kSwitchableRates[] = {9600, 19200, 38400, 57600};

int Address(const uint8_t* r) { return r[1] << 8 | r[2]; }

void PutAddress(std::vector<uint8_t>& out, int address) {
  out.push_back(static_cast<uint8_t>(address >> 8));
  out.push_back(static_cast<uint8_t>(address));
}
}  // namespace

SimRadioCore::SimRadioCore(uint32_t productId)
    : memory(kImageSize),
      version(DefaultSimVersion(productId)),
      firmwareText(DefaultFirmwareText(productId)),
      radioId{0x56, 0x4B, 0x00, 0x01, 0x23, 0x45, 0x67, 0x89},
      ram(kSimRamSize, 0),
      productId_(productId) {
  MakeDefaultImage(productId, memory);
}

const SimRadioCore::CommandRow* SimRadioCore::FindCommand(uint8_t command) {
  static const CommandRow kRows[] = {
      {OP_GET_VERSION, 1, &SimRadioCore::Version},
      {OP_READ_BYTE, 3, &SimRadioCore::ReadByte},
      {OP_READ_WORD, 3, &SimRadioCore::ReadWord},
      {OP_READ_BLOCK, 3, &SimRadioCore::ReadBlock},
      {OP_GET_CHANNEL, 1, &SimRadioCore::GetChannel},
      {OP_GET_STATUS, 1, &SimRadioCore::Status},
      {OP_READ_ARRAY, 4, &SimRadioCore::ReadArray},
      {OP_READ_RADIO_ID, 1, &SimRadioCore::ReadRadioId},
      {OP_WRITE_BYTE, 4, &SimRadioCore::WriteByte},
      {OP_WRITE_WORD, 5, &SimRadioCore::WriteWord},
      {OP_WRITE_BLOCK, 19, &SimRadioCore::WriteBlock},
      {OP_SET_CHANNEL, 2, &SimRadioCore::SetChannel},
      {OP_SET_RF_POWER, 3, &SimRadioCore::SetRfPower},
      {OP_SET_PTT, 2, &SimRadioCore::SetPtt},
      {OP_STEP_UP, 1, &SimRadioCore::StepUp},
      {OP_STEP_DOWN, 1, &SimRadioCore::StepDown},
      {OP_WRITE_ARRAY, 4, &SimRadioCore::WriteArray},
      {OP_WRITE_RADIO_ID, 9, &SimRadioCore::WriteRadioId},
      {OP_SET_VOLUME, 2, &SimRadioCore::SetVolume},
      {OP_ENGINEERING, 2, &SimRadioCore::Engineering},
      {OP_SET_TEST_MODE, 2, &SimRadioCore::SetTestMode},
      {OP_ENTER_PROG_MODE, 1, &SimRadioCore::EnterProgMode},
      {OP_READ_FIRMWARE_TEXT, 1, &SimRadioCore::FirmwareText},
      {OP_SET_BAUD_RATE, 4, &SimRadioCore::SetBaudRate},
      {OP_RESET, 1, &SimRadioCore::Reset},
  };
  for (const CommandRow& row : kRows) {
    if (row.command == command) return &row;
  }
  return nullptr;
}

// Radios without the reply error flag set bit 7 in these replies, and the
// programmer is built to ignore it there.
bool SimRadioCore::SetsBit7(uint8_t command) const {
  const bool flagged = command == OP_GET_STATUS || command == OP_STEP_UP || command == OP_STEP_DOWN;
  return flagged && !TradioInfo::HasReplyErrorFlag(productId_);
}

bool SimRadioCore::Execute(const uint8_t* request, int length, std::vector<uint8_t>& reply) {
  reply.clear();
  if (length < 1) return false;
  const uint8_t command = request[0] & kCommandMask;
  const uint8_t bit7 = SetsBit7(command) ? kRequestFlag : 0;
  reply.push_back(static_cast<uint8_t>(command | bit7));
  const CommandRow* row = FindCommand(command);
  const bool ok = row && length >= row->length && (this->*row->handler)(request, length, reply);
  if (!ok) reply = Refusal(command);
  return ok;
}

std::vector<uint8_t> SimRadioCore::Refusal(uint8_t command) const {
  command &= kCommandMask;
  const uint8_t bit7 = SetsBit7(command) ? kRequestFlag : 0;
  return {static_cast<uint8_t>(command | bit7 | kNackFlag)};
}

uint32_t SimRadioCore::TakePendingLineRate() {
  const uint32_t rate = pendingLineRate_;
  pendingLineRate_ = 0;
  return rate;
}

bool SimRadioCore::Version(const uint8_t*, int, std::vector<uint8_t>& out) {
  out.push_back(static_cast<uint8_t>(version.major));
  out.push_back(static_cast<uint8_t>(version.minor));
  out.push_back(static_cast<uint8_t>(version.suffix));
  return true;
}

bool SimRadioCore::ReadByte(const uint8_t* r, int, std::vector<uint8_t>& out) {
  const int a = Address(r);
  if (a >= memory.GetLength()) return false;
  PutAddress(out, a);
  out.push_back(static_cast<uint8_t>(memory.GetByte(a)));
  return true;
}

// Words sit at even addresses, as in the programmer's image.
bool SimRadioCore::ReadWord(const uint8_t* r, int, std::vector<uint8_t>& out) {
  const int a = Address(r);
  if (a >= memory.GetLength()) return false;
  PutAddress(out, a);
  const int w = memory.GetWord(a);
  out.push_back(static_cast<uint8_t>(w >> 8));
  out.push_back(static_cast<uint8_t>(w));
  return true;
}

bool SimRadioCore::ReadBlock(const uint8_t* r, int, std::vector<uint8_t>& out) {
  const int a = Address(r);
  if (a + 16 > memory.GetLength()) return false;
  PutAddress(out, a);
  out.insert(out.end(), memory.Data() + a, memory.Data() + a + 16);
  return true;
}

bool SimRadioCore::ReadArray(const uint8_t* r, int, std::vector<uint8_t>& out) {
  const int a = Address(r);
  if (!TradioInfo::HasArrayTransfer(productId_) || a >= memory.GetLength()) return false;
  // The reply must fit a 255-byte payload after its four header bytes.
  const int n = std::min({static_cast<int>(r[3]), kMaxArrayCount, memory.GetLength() - a});
  PutAddress(out, a);
  out.push_back(static_cast<uint8_t>(n));
  out.insert(out.end(), memory.Data() + a, memory.Data() + a + n);
  return true;
}

bool SimRadioCore::WriteByte(const uint8_t* r, int, std::vector<uint8_t>&) {
  return memory.SetByte(Address(r), r[3]) == 0;
}

bool SimRadioCore::WriteWord(const uint8_t* r, int, std::vector<uint8_t>&) {
  return memory.SetWord(Address(r), r[3] << 8 | r[4]) == 0;
}

bool SimRadioCore::WriteBlock(const uint8_t* r, int, std::vector<uint8_t>&) {
  const int a = Address(r);
  if (a + 16 > memory.GetLength()) return false;
  memory.WriteBlock(a, r + 3, 16);
  return true;
}

bool SimRadioCore::WriteArray(const uint8_t* r, int n, std::vector<uint8_t>&) {
  const int a = Address(r);
  const int count = r[3];
  if (!TradioInfo::HasArrayTransfer(productId_) || n < 4 + count) return false;
  if (a + count > memory.GetLength()) return false;
  memory.WriteBlock(a, r + 4, count);
  return true;
}

bool SimRadioCore::ReadRadioId(const uint8_t*, int, std::vector<uint8_t>& out) {
  out.insert(out.end(), radioId.begin(), radioId.end());
  return true;
}

bool SimRadioCore::WriteRadioId(const uint8_t* r, int, std::vector<uint8_t>&) {
  std::copy(r + 1, r + 9, radioId.begin());
  return true;
}

bool SimRadioCore::GetChannel(const uint8_t*, int, std::vector<uint8_t>& out) {
  out.push_back(RawChannelForGet());
  return true;
}

bool SimRadioCore::Status(const uint8_t*, int, std::vector<uint8_t>& out) {
  const bool open = state.signal || state.squelchForced;
  out.push_back(static_cast<uint8_t>((open ? 0x01 : 0) | (state.signal ? 0x20 : 0)));
  return true;
}

bool SimRadioCore::SetChannel(const uint8_t* r, int, std::vector<uint8_t>&) {
  if (r[1] < 1 || r[1] > kSimLastChannel) return false;
  state.channel = r[1];
  state.pllSteps = 0;
  state.scan = false;
  return true;
}

bool SimRadioCore::SetRfPower(const uint8_t* r, int, std::vector<uint8_t>&) {
  state.rfPowerLevel = r[1];
  state.rfPowerSecond = r[2];
  return true;
}

bool SimRadioCore::SetPtt(const uint8_t* r, int, std::vector<uint8_t>&) {
  state.ptt = r[1] != 0;
  return true;
}

bool SimRadioCore::StepUp(const uint8_t*, int, std::vector<uint8_t>& out) {
  Step(+1);
  out.push_back(RawChannelForStep());
  return true;
}

bool SimRadioCore::StepDown(const uint8_t*, int, std::vector<uint8_t>& out) {
  Step(-1);
  out.push_back(RawChannelForStep());
  return true;
}

// Steps wrap within the CB channels, or within the receive-only ones.
void SimRadioCore::Step(int direction) {
  const int first = state.channel > kSimCbChannels ? kSimCbChannels + 1 : 1;
  const int last = state.channel > kSimCbChannels ? kSimLastChannel : kSimCbChannels;
  const int span = last - first + 1;
  state.channel = first + ((state.channel - first + direction) % span + span) % span;
  state.pllSteps = 0;
}

// Old firmware reports channels with bit 7 toggled; the programmer's
// rules A (get) and B (step) undo exactly this.
uint8_t SimRadioCore::RawChannelForGet() const {
  const uint8_t raw = static_cast<uint8_t>(state.channel);
  const bool oldDravo = productId_ == kProductDravo && version.major < 2;
  return oldDravo ? SimToggleChannel(raw) : raw;
}

uint8_t SimRadioCore::RawChannelForStep() const {
  const uint8_t raw = static_cast<uint8_t>(state.channel);
  const int major = version.major;
  bool plain = false;
  switch (productId_) {
    case kProductKestal:
    case kProductTamso:
      plain = true;
      break;
    case kProductMerlo:
    case kProductDravo:
      plain = major >= 2;
      break;
    case kProductPinto:
      plain = major > 1 || (major == 1 && version.minor >= 1);
      break;
    default:
      break;
  }
  return plain ? raw : SimToggleChannel(raw);
}

bool SimRadioCore::SetVolume(const uint8_t* r, int, std::vector<uint8_t>&) {
  state.volume = r[1];
  return true;
}

bool SimRadioCore::SetTestMode(const uint8_t* r, int, std::vector<uint8_t>&) {
  state.testMode = r[1];
  return true;
}

bool SimRadioCore::EnterProgMode(const uint8_t*, int, std::vector<uint8_t>&) {
  state.progMode = true;
  state.ptt = false;
  return true;
}

bool SimRadioCore::FirmwareText(const uint8_t*, int, std::vector<uint8_t>& out) {
  const std::string text = firmwareText.substr(0, 16);
  out.insert(out.end(), text.begin(), text.end());
  out.push_back(0);
  return true;
}

bool SimRadioCore::SetBaudRate(const uint8_t* r, int, std::vector<uint8_t>& out) {
  if (!TradioInfo::HasBaudRateSwitch(productId_)) return false;
  const uint32_t rate = static_cast<uint32_t>(r[1]) << 16 | r[2] << 8 | r[3];
  if (!anyLineRate && std::find(std::begin(kSwitchableRates), std::end(kSwitchableRates), rate) ==
                          std::end(kSwitchableRates)) {
    return false;
  }
  out.insert(out.end(), r + 1, r + 4);
  pendingLineRate_ = rate;
  return true;
}

// The radio restarts: it leaves programming and test mode, drops every
// engineering setting, comes back at the default line rate and on the
// channel its memory remembers.
bool SimRadioCore::Reset(const uint8_t*, int, std::vector<uint8_t>&) {
  SimState fresh;
  fresh.signal = state.signal;
  fresh.volume = state.volume;
  fresh.channel = state.channel;
  const int last = memory.GetByte(ParamAddress("Last Channel"));
  if (last >= 1 && last <= kSimCbChannels) fresh.channel = last;
  fresh.lineRate = state.lineRate;
  if (state.lineRate != kSimDefaultLineRate) pendingLineRate_ = kSimDefaultLineRate;
  state = fresh;
  return true;
}

int SimRadioCore::ParamAddress(Param param) const {
  TradioInfo info;
  info.SelectModel(productId_);
  return info.GetParamAddress(param);
}
