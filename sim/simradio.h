#pragma once
// A Vorn radio on the far side of a pseudo-terminal: the programmer under
// test opens DevicePath() like any serial port and talks both protocols
// to it. Every public method is thread-safe; the radio serves from its
// own thread between Start() and Stop().

#include <array>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "simradiocore.h"
#include "simfaults.h"
#include "simpanel.h"
#include "simpty.h"
#include "vorniiframe.h"

// One protocol II request as received: payload[0] is the opcode byte
// (request flag included), then the arguments.
struct SimRequest {
  uint8_t command = 0;  // payload[0] & 0x3F
  std::vector<uint8_t> payload;
  bool replied = false;  // false when a fault kept the radio silent
};

struct SimCounters {
  int requests = 0;          // protocol II requests received
  int replies = 0;           // reply frames sent (refusals included)
  int nacks = 0;             // refusals sent
  int badFrames = 0;         // frames with a wrong checksum or no request flag
  int rateMismatches = 0;    // bytes ignored because the two ends' rates differed
  int keys = 0;              // key events received
  int polls = 0;             // display polls received
  int displayFrames = 0;     // display frames sent
  int backlightFrames = 0;
  int colourFrames = 0;      // backlight colour frames sent
  int announcements = 0;     // announcements sent
  int acksReceived = 0;      // acknowledgements received
  bool ackPending = false;   // the last announcement is still unacknowledged
  bool hungUp = false;       // the line was closed by the hang-up fault
  int lostReplies = 0;       // replies lost on the lead (carried out, never sent)
};

class SimulatedRadio {
 public:
  explicit SimulatedRadio(uint32_t productId);
  ~SimulatedRadio();
  SimulatedRadio(const SimulatedRadio&) = delete;
  SimulatedRadio& operator=(const SimulatedRadio&) = delete;

  // Creates a fresh pseudo-terminal and starts serving; false when no
  // pseudo-terminal could be made. Stop() ends serving and closes it.
  bool Start();
  void Stop();
  bool IsServing() const;
  std::string DevicePath() const;

  // Identity and memory.
  uint32_t ProductId() const;
  void SetVersion(const SimVersion& version);
  SimVersion Version() const;
  void SetFirmwareText(const std::string& text);  // kept to 16 characters
  std::string FirmwareText() const;
  void SetRadioId(const std::array<uint8_t, 8>& id);
  std::array<uint8_t, 8> RadioId() const;
  // Writes the "PCB Rev" word (false when the model has none).
  bool SetPcbRevision(int revision);
  // A mem-file: false (memory unchanged) unless it holds 2048 bytes.
  bool LoadImage(const std::string& path);
  void SetMemory(const std::vector<uint8_t>& bytes);  // from address 0
  std::vector<uint8_t> Memory() const;
  int MemoryByte(int address) const;  // -1 outside the memory

  // State.
  SimState State() const;
  void SetChannel(int channel);  // 1..180
  void SetSignal(bool present);  // a carrier on the channel: BUSY, RSSI up
  void SetLineRate(uint32_t baud);
  uint32_t LineRate() const;
  // When on, bytes that arrive while the programmer's port runs at another
  // rate than the radio are garbage to the radio and are ignored.
  void SetCheckLineRate(bool on);
  std::array<uint8_t, 10> DisplayBytes() const;

  // Protocol I extras.
  void SetAnnouncementInterval(int ms);  // 0 = never (the default)
  void SendAnnouncement();               // one now
  // Sends a backlight colour frame (16 bits each), as a radio with a
  // colour backlight does when its colour is changed.
  void SendBacklightColour(uint16_t red, uint16_t green, uint16_t blue);

  // The radio's power: switched off it answers no request, as a radio
  // without power on a lead that stays plugged in (the requests are still
  // logged, unreplied).
  void SwitchOff();
  void SwitchOn();
  bool IsSwitchedOn() const;
  // Another radio of that model on the same port, with the model's own
  // default memory, firmware and identity (set them after, as for a new
  // radio). The power, the faults and the request log stay.
  void ReplaceRadio(uint32_t productId);

  // Faults; setting them restarts their counts.
  void SetFaults(const SimFaults& faults);
  SimFaults Faults() const;

  // Observation.
  std::vector<SimRequest> Requests() const;
  void ClearRequests();
  // Waits until at least count requests were received; false on time-out.
  bool WaitForRequests(size_t count, int timeoutMs) const;
  std::vector<uint8_t> KeyEvents() const;  // key bytes in order
  SimCounters Counters() const;
  // Called on the serving thread for every request, after the reply.
  void SetRequestObserver(std::function<void(const SimRequest&)> observer);

 private:
  void Serve();
  void OnBytes(const uint8_t* bytes, int count);
  void OnRequest(const uint8_t* payload, int length, uint8_t checksum);
  struct ReplyDamage {
    bool flipByte = false;
    bool badChecksum = false;
    // payload: the reply the frame carries, undamaged.
    void ApplyTo(std::vector<uint8_t>& frame, std::vector<uint8_t> payload) const;
  };
  ReplyDamage PlanDamage(const SimRequest& request, std::vector<uint8_t>& reply,
                         std::vector<uint8_t>& stale);
  static std::vector<uint8_t> EncodeFrame(const std::vector<uint8_t>& payload);
  void OnPanelFrame();
  void PushDisplayIfChanged();
  // rate: the line rate to pace at; 0 for the radio's current one.
  void SendFrame(std::vector<uint8_t> frame, uint32_t rate = 0);
  void HangUpLine();
  void ApplyPendingRate();

  mutable std::mutex mutex_;
  mutable std::condition_variable logChanged_;
  SimRadioCore core_;
  SimFaultPlan faults_;
  SimCounters counters_;
  std::vector<SimRequest> log_;
  std::vector<uint8_t> keys_;
  std::function<void(const SimRequest&)> observer_;
  std::array<uint8_t, 10> lastDisplay_{};
  bool lastBacklight_ = true;
  bool checkLineRate_ = false;
  bool switchedOn_ = true;
  int announceMs_ = 0;
  bool announceNow_ = false;
  std::vector<std::vector<uint8_t>> colourFrames_;  // waiting for the serving thread

  // Serving thread only (besides Start/Stop).
  SimPty pty_;
  VornIIParser parser_;
  SimPanelRecogniser panel_;
  uint8_t lastByte_ = 0;
  SimPty::Clock::time_point inputClock_{};
  SimPty::Clock::time_point nextAnnouncement_{};
  std::string devicePath_;
  std::thread thread_;
  bool serving_ = false;
  // Pipes made once for the radio's life: stop_ is readable once Stop()
  // was called, wake_ when a setting needs the serving thread.
  int stop_[2] = {-1, -1};
  int wake_[2] = {-1, -1};
};
