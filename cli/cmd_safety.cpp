// archive and channels: the read archive's listing, and the receive-only
// channels of a mem-file as a CSV list, out and back in.

#include <cstdio>

#include "buildconfig.h"
#include "commands.h"
#include "eeprom.h"
#include "excerpt.h"
#include "imagetext.h"
#include "memfile.h"
#include "radioinfo.h"
#include "readarchive.h"
#include "rxchannels.h"
#include "session.h"
#include "userfile.h"

int RunArchive(const ParsedArgs&) {
  const ReadArchive archive(DefaultReadArchiveFolder(CompiledBuildConfig().modelName));
  if (archive.Folder().empty()) {
    Say("no read archive: neither XDG_DATA_HOME nor HOME is set");
    return kExitFailure;
  }
  const std::vector<ArchivedRead> reads = archive.List();
  if (reads.empty()) Say("no reads archived in " + ShownPath(archive.Folder()));
  for (const ArchivedRead& read : reads) std::printf("%s\n", read.path.c_str());
  return kExitOk;
}

namespace {

// The mem-file whose channels are shown or replaced: the whole image, of
// a model with receive-only channels.
bool LoadChannelImage(const std::string& path, EEPROM& image, TradioInfo& info) {
  const MemFileResult loaded = CheckedLoadMemFile(image, info, kAllModelsFlag, path);
  if (loaded.status == MemFileStatus::OpenFailed) {
    Say(loaded.caption + ": " + MessageWithReason(loaded));
    return false;
  }
  if (loaded.fileSize != static_cast<uint64_t>(image.GetLength())) {
    Say(ShownPath(path) + " is not a whole memory image (" + std::to_string(loaded.fileSize) +
        " bytes, " + std::to_string(image.GetLength()) + " expected)");
    return false;
  }
  info = ModelOfImage(image);
  const ModelRow& row = ModelTableRow(info.modelIndex);
  if (info.modelIndex == 0 || !TradioInfo::HasRxOnlyChannels(row.productId)) {
    Say(ShownPath(path) + " is for a model without receive-only channels (" +
        (info.modelIndex == 0 ? std::string("product ID unknown") : std::string(row.name)) + ")");
    return false;
  }
  return true;
}

// What an import did, in one line.
std::string ImportedText(const ChannelImport& done, const std::string& output) {
  if (done.channels == 0)
    return "the list holds no channels: removed all " + std::to_string(done.removed) +
           " receive-only channels from " + ShownPath(output);
  std::string text =
      "wrote " + std::to_string(done.channels) + " receive-only channels into " + ShownPath(output);
  if (done.removed > 0) text += ", removing " + std::to_string(done.removed) + " the list leaves out";
  return text;
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
  const std::string output = args.Has("output") ? args.Get("output") : file;
  std::string why;
  if (!CheckSaveTarget(output, why)) {
    Say("Unable to write file " + ShownPath(output) + ": " + why);
    return kExitFailure;
  }
  RxChannelList after = before;
  const ChannelImport done = ImportChannelsCsv(listPath, banks, after);
  if (!done.Ok()) {
    if (!done.refused.empty()) Say("File Open Error: " + done.refused);
    for (const std::string& line : CsvFaultLines(ShownPath(listPath), done.faults)) Say(line);
    Say(ShownPath(output) + " not written");
    return kExitFailure;
  }
  StoreChangedChannels(image, info, before, after);
  if (!SaveUserFile(output, image.Data(), static_cast<size_t>(image.GetLength()), why)) {
    Say("Unable to write file " + ShownPath(output) + ": " + why);
    return kExitFailure;
  }
  Tell(ImportedText(done, output));
  return kExitOk;
}
