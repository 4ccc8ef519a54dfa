#include "restorelist.h"

#include "eeprom.h"
#include "memfile.h"
#include "radioinfo.h"
#include "readarchive.h"
#include "selcall.h"

namespace {

// "2026-12-10_15-05-31_Kestal_0x0083.mem" -> "2026-12-10 15:05:31".
std::string WhenOf(const std::string& name) {
  if (name.size() < 19 || name[10] != '_') return name;
  std::string when = name.substr(0, 19);
  when[10] = ' ';
  when[13] = ':';
  when[16] = ':';
  return when;
}

}  // namespace

std::vector<RestoreCandidate> RestoreCandidates(const ReadArchive& archive,
                                                uint32_t buildModelFlag) {
  std::vector<RestoreCandidate> candidates;
  const std::vector<ArchivedRead> reads = archive.List();
  for (auto it = reads.rbegin(); it != reads.rend(); ++it) {
    EEPROM image;
    TradioInfo info;
    const MemFileResult loaded = CheckedLoadMemFile(image, info, kAllModelsFlag, it->path);
    if (loaded.status == MemFileStatus::OpenFailed ||
        loaded.fileSize != static_cast<uint64_t>(image.GetLength()) ||
        !IsModelAccepted(loaded.productId, buildModelFlag))
      continue;
    info.SelectModel(loaded.productId);
    RestoreCandidate c;
    c.path = it->path;
    c.when = WhenOf(it->name);
    c.productId = loaded.productId;
    c.model = info.ModelName();
    if (TradioInfo::HasSelcall(loaded.productId)) c.ident = LoadRadioIdent(image, info);
    candidates.push_back(std::move(c));
  }
  return candidates;
}
