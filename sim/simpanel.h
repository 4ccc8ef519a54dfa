#pragma once
// Protocol I as the radio sees it: the frames the programmer sends (key
// events, display polls, acknowledgements) recognised the way the
// programmer recognises the radio's, by their last three bytes; and the
// frames the radio sends.

#include <array>
#include <cstdint>
#include <vector>

inline constexpr uint8_t kSimCmdDisplay = 2;
inline constexpr uint8_t kSimCmdBacklight = 3;
inline constexpr uint8_t kSimCmdKey = 4;
inline constexpr uint8_t kSimCmdAnnounce = 9;
inline constexpr uint8_t kSimCmdPoll = 10;
inline constexpr uint8_t kSimCmdAck = 73;
inline constexpr uint8_t kSimCmdColour = 36;

class SimPanelRecogniser {
 public:
  // Returns true when this byte completed a frame; its marker, command and
  // payload (wire order) are then available until the next Feed().
  bool Feed(uint8_t byte);
  void Reset() { window_.fill(0); }

  uint8_t Marker() const { return marker_; }
  uint8_t Command() const { return command_; }
  const std::vector<uint8_t>& Payload() const { return payload_; }

 private:
  static constexpr int kWindow = 16;
  std::array<uint8_t, kWindow> window_{};  // newest first
  uint8_t marker_ = 0;
  uint8_t command_ = 0;
  std::vector<uint8_t> payload_;
};

// True for the acknowledgement 03 03 01 00 F8 49 CC.
bool IsSimAcknowledgement(const SimPanelRecogniser& r);

// The radio's frames in wire order. The display frame's checksum must not
// look like a protocol II start byte (7E, then its command 02): the
// unused bit 7 of D9 is set when it would.
std::vector<uint8_t> SimDisplayFrame(std::array<uint8_t, 10> display);
std::vector<uint8_t> SimBacklightFrame(bool on);
std::vector<uint8_t> SimAnnouncementFrame();
// Backlight colour: red, green and blue, 16 bits each (the LCD uses bits 2..9).
std::vector<uint8_t> SimBacklightColourFrame(uint16_t red, uint16_t green, uint16_t blue);
