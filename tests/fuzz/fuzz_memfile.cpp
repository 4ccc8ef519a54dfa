// The mem-file loader's size rules under arbitrary files. The first four
// bytes of an input stretch the file with zeros past the rest (a file may
// be far longer than an input), the fifth picks the build's model flag.
// The loader on bytes and the loader of a real file (an in-memory one,
// opened by path as any) must agree, and a file over the bound, or the
// image left as it was, or the rest erased, each as the rules say.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "eeprom.h"
#include "fuzz_memory_file.h"
#include "memfile.h"
#include "radioinfo.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

constexpr uint8_t kBefore = 0x5C;
constexpr uint32_t kFlags[] = {1, 2, kAllModelsFlag, 0};

bool SameImage(const EEPROM& a, const EEPROM& b) {
  for (int i = 0; i < a.GetLength(); ++i)
    if (a.GetByte(i) != b.GetByte(i)) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  const uint32_t stretch = (uint32_t{data[0]} | uint32_t{data[1]} << 8 | uint32_t{data[2]} << 16 |
                            uint32_t{data[3]} << 24) % (2 * kMaxMemFileBytes);
  const uint32_t flag = kFlags[data[4] % 4];
  const std::vector<uint8_t> content(data + 5, data + size);
  const uint64_t fileSize = content.size() + stretch;

  EEPROM image;
  const size_t headSize = static_cast<size_t>(std::min<uint64_t>(fileSize, image.GetLength()));
  std::vector<uint8_t> head(headSize, 0);
  std::copy(content.begin(), content.begin() + std::min(content.size(), headSize), head.begin());

  TradioInfo info;
  info.SelectModel(kProductKestal);
  image.Fill(kBefore);
  const MemFileResult r = LoadMemFileBytes(image, info, flag, "f.mem", head.data(), fileSize);
  Check(r.fileSize == fileSize);
  if (fileSize > kMaxMemFileBytes) {
    Check(r.status == MemFileStatus::OpenFailed && r.bytesRead == -1);
    Check(r.message.find("more than a mem-file ever needs") != std::string::npos);
    for (int i = 0; i < image.GetLength(); ++i) Check(image.GetByte(i) == kBefore);
  } else {
    Check(r.bytesRead == static_cast<int>(headSize));
    for (int i = 0; i < image.GetLength(); ++i)
      Check(image.GetByte(i) == (static_cast<size_t>(i) < headSize ? head[i] : 0xFF));
    const uint32_t id = static_cast<uint32_t>(image.GetWord(0));
    Check(r.productId == id);
    Check((r.status == MemFileStatus::Loaded) == IsModelAccepted(id, flag));
    if (r.status == MemFileStatus::WrongRadioType)
      Check(r.message == "Incorrect radio type (" + HexId(id) + ")");
  }
  Check(MemFileSizeNote("f.mem", fileSize, image.GetLength()).empty() ==
        (fileSize == static_cast<uint64_t>(image.GetLength())));

  // The same file on a path: the reader must hand the loader the same bytes.
  const std::string path = FuzzFileHolding(content.data(), content.size(), stretch);
  EEPROM fromFile;
  fromFile.Fill(kBefore);
  const MemFileResult f = CheckedLoadMemFile(fromFile, info, flag, path);
  Check(f.status == r.status && f.bytesRead == r.bytesRead && f.fileSize == r.fileSize &&
        f.productId == r.productId && f.caption == r.caption);
  Check(SameImage(fromFile, image));
  return 0;
}
