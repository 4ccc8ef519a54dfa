#include "transfer_rig.h"

#include <random>

#include "params.h"
#include "vorniiframe.h"

void PrintTo(const Req& r, std::ostream* os) { *os << "{" << r.command << ", " << r.arg << "}"; }

std::vector<Req> Summarise(const std::vector<SimRequest>& log) {
  std::vector<Req> out;
  for (const SimRequest& r : log) {
    const auto& p = r.payload;
    Req q{r.command};
    switch (r.command) {
      case OP_READ_BYTE: case OP_READ_WORD: case OP_READ_BLOCK: case OP_READ_ARRAY:
      case OP_WRITE_BYTE: case OP_WRITE_WORD: case OP_WRITE_BLOCK: case OP_WRITE_ARRAY:
        if (p.size() >= 3) q.arg = p[1] << 8 | p[2];
        break;
      case OP_SET_TEST_MODE:
        if (p.size() >= 2) q.arg = p[1];
        break;
      case OP_SET_BAUD_RATE:
        if (p.size() >= 4) q.arg = p[1] << 16 | p[2] << 8 | p[3];
        break;
      default:
        break;
    }
    out.push_back(q);
  }
  return out;
}

void AppendBlocks(std::vector<Req>& out, int command, int count, int step) {
  for (int i = 0; i < count; ++i) out.push_back({command, i * step});
}

std::vector<uint8_t> RandomBytes(uint32_t seed, size_t count) {
  std::mt19937 rng(seed);
  std::vector<uint8_t> bytes(count);
  for (auto& b : bytes) b = static_cast<uint8_t>(rng());
  return bytes;
}

int ParamAddressOf(uint32_t model, Param param) {
  TradioInfo info;
  info.SelectModel(model);
  return info.GetParamAddress(param);
}

void PutProductId(std::vector<uint8_t>& bytes, int a, uint32_t productId) {
  bytes[static_cast<size_t>(a)] = static_cast<uint8_t>(productId >> 8);
  bytes[static_cast<size_t>(a) + 1] = static_cast<uint8_t>(productId);
}

Rig::Rig(const BuildConfig& b, uint32_t radioProduct)
    : SharedObjects(b.productId),
      build(b),
      sim(radioProduct ? radioProduct : b.productId),
      flows(RadioObjectsOf(*this, build), state, host, &host.queue) {
  info.SelectModel(build.productId);
  host.Attach(flows);
  if (sim.Start()) state.portNumber = port.Ports().AddExtraDevice(sim.DevicePath());
}

Rig::~Rig() { flows.FinishPreviousTransfer(); }

std::vector<uint8_t> Rig::ImageBytes() const {
  return std::vector<uint8_t>(image.Data(), image.Data() + image.GetLength());
}

void Rig::SetImage(const std::vector<uint8_t>& bytes) {
  image.WriteBlock(0, bytes.data(), static_cast<int>(bytes.size()));
}

void Rig::FillRadio(uint32_t seed) {
  std::vector<uint8_t> bytes = RandomBytes(seed);
  PutProductId(bytes, ParamAddressOf(sim.ProductId(), kParamProductId), sim.ProductId());
  sim.SetMemory(bytes);
}

void Rig::FillImage(uint32_t seed, uint32_t imageProduct) {
  std::vector<uint8_t> bytes = RandomBytes(seed);
  PutProductId(bytes, info.GetParamAddress(kParamProductId), imageProduct);
  SetImage(bytes);
}

CoreRadio::CoreRadio(uint32_t productId, Edit edit) : core_(productId), edit_(std::move(edit)) {
  thread_ = std::thread(&CoreRadio::Serve, this);
}

CoreRadio::~CoreRadio() {
  stop_ = true;
  thread_.join();
}

std::vector<uint8_t> CoreRadio::Memory() {
  std::lock_guard<std::mutex> g(lock_);
  return std::vector<uint8_t>(core_.memory.Data(), core_.memory.Data() + kImageSize);
}

void CoreRadio::SetMemory(const std::vector<uint8_t>& bytes) {
  std::lock_guard<std::mutex> g(lock_);
  core_.memory.WriteBlock(0, bytes.data(), static_cast<int>(bytes.size()));
}

std::vector<Req> CoreRadio::Log() {
  std::lock_guard<std::mutex> g(lock_);
  return Summarise(log_);
}

void CoreRadio::Serve() {
  VornIIParser parser;
  while (!stop_) {
    const std::vector<uint8_t> bytes = peer_.Read(1, 10);
    // Before the program opens its end the master reads nothing at once.
    if (bytes.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    for (uint8_t byte : bytes) {
      if (!parser.Feed(byte)) continue;
      SimRequest request;
      request.command = parser.Payload()[0] & 0x3F;
      request.payload.assign(parser.Payload(), parser.Payload() + parser.Length());
      std::vector<uint8_t> reply;
      {
        std::lock_guard<std::mutex> g(lock_);
        core_.Execute(request.payload.data(), parser.Length(), reply);
        if (edit_) edit_(request.payload, reply, core_);
        request.replied = true;
        log_.push_back(request);
      }
      std::vector<uint8_t> frame(kVornIIMaxFrame);
      frame.resize(static_cast<size_t>(
          EncodeVornIIFrame(reply.data(), static_cast<int>(reply.size()), frame.data())));
      peer_.Write(frame);
    }
  }
}
