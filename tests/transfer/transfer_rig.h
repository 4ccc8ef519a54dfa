#pragma once
// The program's shared objects wired to a simulated radio over a real
// pseudo-terminal, with the scripted host in place of the main window.

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "buildconfig.h"
#include "eeprom.h"
#include "platform.h"
#include "pty_peer.h"
#include "radio.h"
#include "transferflows.h"
#include "radioinfo.h"
#include "scripted_host.h"
#include "serialport.h"
#include "sharedobjects.h"
#include "simradiocore.h"
#include "simradio.h"
#include "transferhost.h"

// One request as the tests compare them: its command number and its
// address (memory commands) or argument (test mode, baud rate).
struct Req {
  int command;
  int arg = -1;
  bool operator==(const Req&) const = default;
};
void PrintTo(const Req& r, std::ostream* os);
std::vector<Req> Summarise(const std::vector<SimRequest>& log);
// count requests of one command at addresses first, first + step, ...
void AppendBlocks(std::vector<Req>& out, int command, int count, int step);

std::vector<uint8_t> RandomBytes(uint32_t seed, size_t count = kImageSize);
// Writes a product ID word at the model's "Product ID" address.
void PutProductId(std::vector<uint8_t>& bytes, int address, uint32_t productId);
int ParamAddressOf(uint32_t model, Param param);

struct Rig : SharedObjects {
  explicit Rig(const BuildConfig& build, uint32_t radioProduct = 0);
  ~Rig();

  std::vector<uint8_t> ImageBytes() const;
  void SetImage(const std::vector<uint8_t>& bytes);
  // Random memory in the radio (its product ID kept) and in the image
  // (carrying imageProduct at the current model's address).
  void FillRadio(uint32_t seed);
  void FillImage(uint32_t seed, uint32_t imageProduct);

  BuildConfig build;
  SimulatedRadio sim;
  TransferState state;
  ScriptedHost host;
  TransferFlows flows;
};

// The simulator's firmware on a bare pseudo-terminal with a hook that can
// change each reply before it is sent: for replies the simulated radio
// would never give.
class CoreRadio {
 public:
  using Edit = std::function<void(const std::vector<uint8_t>& request, std::vector<uint8_t>& reply,
                                  SimRadioCore& core)>;
  CoreRadio(uint32_t productId, Edit edit);
  ~CoreRadio();
  const std::string& Path() const { return peer_.SlavePath(); }
  std::vector<uint8_t> Memory();
  void SetMemory(const std::vector<uint8_t>& bytes);
  std::vector<Req> Log();

 private:
  void Serve();
  std::mutex lock_;
  SimRadioCore core_;
  Edit edit_;
  std::vector<SimRequest> log_;
  PtyPeer peer_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};
