#pragma once
// One build's shared objects talking to a simulated radio of the same
// model over a real pseudo-terminal, the port already open as the
// alignment opener leaves it, and the image holding the radio's memory.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "buildconfig.h"
#include "portmap.h"
#include "sharedobjects.h"
#include "simradio.h"
#include "param_by_name.h"

struct BenchRig {
  explicit BenchRig(const char* family, bool engineering = false)
      : build(BuildConfig::ForFamily(family, engineering)),
        shared(std::make_unique<SharedObjects>(build.productId)),
        sim(std::make_unique<SimulatedRadio>(build.productId)) {
    shared->info.SelectModel(build.productId);
    EXPECT_TRUE(sim->Start());
    const int port = shared->port.Ports().AddExtraDevice(sim->DevicePath());
    EXPECT_TRUE(shared->port.Open(PortMap::ComName(port), 9600));
    CopyRadioToImage();
  }
  ~BenchRig() { shared->port.Close(); }

  void CopyRadioToImage() {
    const std::vector<uint8_t> memory = sim->Memory();
    shared->image.WriteBlock(0, memory.data(), static_cast<int>(memory.size()));
  }
  int Address(const char* name) const { return shared->info.GetParamAddress(ParamByName(name)); }
  int ImageByte(const char* name) const { return shared->image.GetByte(Address(name)); }
  int RadioByte(const char* name) const { return sim->MemoryByte(Address(name)); }
  // Sets a byte in both the radio and the image.
  void Put(const char* name, int value) {
    std::vector<uint8_t> memory = sim->Memory();
    memory[static_cast<size_t>(Address(name))] = static_cast<uint8_t>(value);
    sim->SetMemory(memory);
    shared->image.SetByte(Address(name), value);
  }
  std::vector<uint8_t> ImageBytes() const {
    return {shared->image.Data(), shared->image.Data() + shared->image.GetLength()};
  }
  // The command numbers of the requests so far (engineering requests as
  // 0x100 + their sub-command), and forgets them.
  std::vector<int> TakeCommands() {
    std::vector<int> commands;
    for (const SimRequest& r : sim->Requests())
      commands.push_back(r.command == 52 && r.payload.size() > 1 ? 0x100 + r.payload[1]
                                                                  : r.command);
    sim->ClearRequests();
    return commands;
  }
  void Silence() {
    SimFaults faults;
    faults.silentAfter = 0;
    sim->SetFaults(faults);
  }

  BuildConfig build;
  std::unique_ptr<SharedObjects> shared;
  std::unique_ptr<SimulatedRadio> sim;
};
