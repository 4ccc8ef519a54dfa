#include "simpanel.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "radioinfo.h"
#include "simradiocore.h"
#include "vorniframe.h"

namespace {
struct PanelShape {
  uint8_t marker;
  uint8_t command;
  int length;
};

constexpr PanelShape kShapes[] = {
    {kVornIMarkerA, kSimCmdKey, 1},
    {kVornIMarkerA, kSimCmdPoll, 4},
    {kVornIMarkerC, kSimCmdAck, 4},
};

std::vector<uint8_t> Frame(uint8_t marker, uint8_t command, const uint8_t* payload, int n) {
  std::vector<uint8_t> out(static_cast<size_t>(n + 3));
  EncodeVornIFrame(marker, command, payload, n, out.data());
  return out;
}
}  // namespace

bool SimPanelRecogniser::Feed(uint8_t byte) {
  std::copy_backward(window_.begin(), window_.end() - 1, window_.end());
  window_[0] = byte;
  for (const PanelShape& s : kShapes) {
    if (window_[0] != s.marker || window_[1] != s.command) continue;
    uint8_t sum = 0;
    for (int i = 3; i < 3 + s.length; ++i) sum = static_cast<uint8_t>(sum + window_[i]);
    if (static_cast<uint8_t>(0xFF - sum) != window_[2]) continue;
    marker_ = s.marker;
    command_ = s.command;
    payload_.assign(static_cast<size_t>(s.length), 0);
    for (int k = 0; k < s.length; ++k) payload_[k] = window_[2 + s.length - k];
    Reset();
    return true;
  }
  return false;
}

bool IsSimAcknowledgement(const SimPanelRecogniser& r) {
  static const std::vector<uint8_t> kAck = {0x03, 0x03, 0x01, 0x00};
  return r.Marker() == kVornIMarkerC && r.Command() == kSimCmdAck && r.Payload() == kAck;
}

std::vector<uint8_t> SimDisplayFrame(std::array<uint8_t, 10> display) {
  std::vector<uint8_t> out = Frame(kVornIMarkerA, kSimCmdDisplay, display.data(), 10);
  if (out[10] == 0x7E) {
    display[9] ^= 0x80;
    out = Frame(kVornIMarkerA, kSimCmdDisplay, display.data(), 10);
  }
  return out;
}

std::vector<uint8_t> SimBacklightFrame(bool on) {
  const uint8_t payload[4] = {0, 0, 0, static_cast<uint8_t>(on ? 1 : 0)};
  return Frame(kVornIMarkerA, kSimCmdBacklight, payload, 4);
}

std::vector<uint8_t> SimBacklightColourFrame(uint16_t red, uint16_t green, uint16_t blue) {
  // Wire order: blue, green, red, each low byte first.
  const uint8_t payload[6] = {static_cast<uint8_t>(blue), static_cast<uint8_t>(blue >> 8),
                              static_cast<uint8_t>(green), static_cast<uint8_t>(green >> 8),
                              static_cast<uint8_t>(red), static_cast<uint8_t>(red >> 8)};
  return Frame(kVornIMarkerA, kSimCmdColour, payload, 6);
}

std::vector<uint8_t> SimAnnouncementFrame() {
  const uint8_t payload[4] = {0x01, 0x02, 0x03, 0x04};
  return Frame(kVornIMarkerA, kSimCmdAnnounce, payload, 4);
}

// ---- The radio's display and keys ----

namespace {
// Channels 1-8 and 41-48 are the repeater pairs: the radio lights "Dup".
bool IsDuplexChannel(int c) { return (c >= 1 && c <= 8) || (c >= 41 && c <= 48); }

void PutText(std::array<uint8_t, 10>& d, const std::string& text) {
  for (int i = 0; i < 5; ++i) d[2 + i] = i < static_cast<int>(text.size()) ? text[i] : ' ';
}
}  // namespace

std::array<uint8_t, 10> SimRadioCore::DisplayBytes() const {
  if (state.lcdOverride) return state.lcd;
  std::array<uint8_t, 10> d{};
  const int c = state.channel;
  const int shown = c > kSimCbChannels ? (c - kSimCbChannels) % 100 : c;
  d[0] = static_cast<uint8_t>('0' + shown / 10);
  d[1] = static_cast<uint8_t>('0' + shown % 10);

  std::string text;
  if (TradioInfo::HasAlphaDisplay(productId_)) {
    char cb[8];
    std::snprintf(cb, sizeof cb, "CB-%02d", c % 100);
    const int rxBase = ParamAddress("Rx-only Channels");
    if (state.progMode) {
      text = "PROG";
    } else if (state.testMode) {
      text = "TEST";
    } else if (c > kSimCbChannels && rxBase >= 0) {
      text = memory.GetAlphaTag(rxBase + kRxChannelRecordSize * (c - kSimCbChannels - 1) + 2);
    } else {
      text = (c == 5 || c == 35) ? "EMERG" : cb;
    }
  }
  PutText(d, text);

  const bool busy = state.signal || state.squelchForced;
  d[7] = static_cast<uint8_t>((state.scan ? 0x01 : 0) | (busy ? 0x40 : 0) | (IsDuplexChannel(c) ? 0x80 : 0));
  d[8] = static_cast<uint8_t>((state.ptt ? 0x02 : 0) | (productId_ == kProductKestalBT ? 0x20 : 0));
  d[9] = state.progMode ? 0x03 : 0x00;  // both channel digits flash in programming mode
  return d;
}

void SimRadioCore::HandleKey(uint8_t key) {
  const uint8_t code = key & 0x0F;
  const uint8_t event = key & 0x70;
  if (code == kSimKeyPtt) {
    if (event == kSimKeyPressed) state.ptt = true;
    if (event == kSimKeyReleased) state.ptt = false;
    return;
  }
  if (event != kSimKeyPressed) return;
  switch (code) {
    case kSimKeyChannelDown:
      Step(-1);
      break;
    case kSimKeyChannelUp:
      Step(+1);
      break;
    case kSimKeyScan:
      state.scan = !state.scan;
      break;
    case kSimKeyBacklight:
      state.backlight = !state.backlight;
      break;
    default:
      break;  // the other keys open menus the simulator does not play
  }
}
