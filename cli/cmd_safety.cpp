// archive and channels: the read archive's listing, and the receive-only
// channels of a mem-file as a CSV list, out and back in.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "buildconfig.h"
#include "commands.h"
#include "eeprom.h"
#include "imagetext.h"
#include "radioinfo.h"
#include "readarchive.h"
#include "rxchannels.h"
#include "session.h"

int RunArchive(const ParsedArgs&) {
  const ReadArchive archive(DefaultReadArchiveFolder(CompiledBuildConfig().modelName));
  if (archive.Folder().empty()) {
    Say("no read archive: neither XDG_DATA_HOME nor HOME is set");
    return kExitFailure;
  }
  const std::vector<ArchivedRead> reads = archive.List();
  if (reads.empty()) Say("no reads archived in " + archive.Folder());
  for (const ArchivedRead& read : reads) std::printf("%s\n", read.path.c_str());
  return kExitOk;
}

namespace {

bool ReadText(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream all;
  all << in.rdbuf();
  text = all.str();
  return !in.bad();
}

// The mem-file whose channels are shown or replaced: the whole image, of
// a model with receive-only channels.
bool LoadChannelImage(const std::string& path, EEPROM& image, TradioInfo& info) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (image.LoadFromFile(path.c_str()) < 0 || ec) {
    Say("File Open Error: Unable to open file " + path);
    return false;
  }
  if (size != static_cast<uintmax_t>(image.GetLength())) {
    Say(path + " is not a whole memory image (" + std::to_string(size) + " bytes, " +
        std::to_string(image.GetLength()) + " expected)");
    return false;
  }
  info = ModelOfImage(image);
  const ModelRow& row = ModelTableRow(info.modelIndex);
  if (info.modelIndex == 0 || !TradioInfo::HasRxOnlyChannels(row.productId)) {
    Say(path + " is for a model without receive-only channels (" +
        (info.modelIndex == 0 ? std::string("product ID unknown") : std::string(row.name)) + ")");
    return false;
  }
  return true;
}

}  // namespace

int RunChannels(const ParsedArgs& args) {
  const std::string file = args.operands[0];
  if (args.Has("output") && !args.Has("import"))
    return UsageError("channels", "--output goes with --import");
  EEPROM image;
  TradioInfo info;
  if (!LoadChannelImage(file, image, info)) return kExitFailure;
  const bool banks = TradioInfo::HasRxBanks(ModelTableRow(info.modelIndex).productId);
  const RxChannelList before = LoadChannels(image, info);
  if (!args.Has("import")) {
    std::fputs(ChannelsCsv(before, banks).c_str(), stdout);
    return kExitOk;
  }

  const std::string listPath = args.Get("import");
  std::string text;
  if (!ReadText(listPath, text)) {
    Say("File Open Error: Unable to open file " + listPath);
    return kExitFailure;
  }
  RxChannelList after = before;
  const std::vector<CsvFault> faults = ChannelsFromCsv(text, banks, after);
  const std::string output = args.Has("output") ? args.Get("output") : file;
  if (!faults.empty()) {
    for (const CsvFault& f : faults)
      Say(listPath + " line " + std::to_string(f.line) + ": " + f.reason);
    Say(output + " not written");
    return kExitFailure;
  }
  StoreChangedChannels(image, info, before, after);
  if (image.SaveToFile(output.c_str()) != image.GetLength()) {
    Say("Unable to write file " + output);
    return kExitFailure;
  }
  int count = 0;
  for (const RX_CH_DATA_STRUCT& r : after.records) count += r.frequency != 0;
  Say("wrote " + std::to_string(count) + " receive-only channels into " + output);
  return kExitOk;
}
