// export and import: a mem-file as YAML text and back.

#include <cstdio>

#include "commands.h"
#include "configtext.h"
#include "eeprom.h"
#include "excerpt.h"
#include "memfile.h"
#include "radioinfo.h"
#include "session.h"
#include "userfile.h"

namespace {


bool Save(const std::string& path, const void* bytes, size_t size) {
  std::string why;
  if (SaveUserFile(path, bytes, size, why)) return true;
  Say("Unable to write file " + ShownPath(path) + ": " + why);
  return false;
}

}  // namespace

int RunExport(const ParsedArgs& args) {
  EEPROM image;
  if (!LoadAnyModelImage(args.operands[0], image)) return kExitFailure;
  const std::string text = ExportConfigText(image);
  if (!args.Has("output")) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitOk;
  }
  if (!Save(args.Get("output"), text.data(), text.size())) return kExitFailure;
  Tell("exported " + ShownPath(args.operands[0]) + " to " + ShownPath(args.Get("output")));
  return kExitOk;
}

int RunImport(const ParsedArgs& args) {
  const std::string& path = args.operands[0];
  EEPROM base;
  if (args.Has("onto") && !LoadAnyModelImage(args.Get("onto"), base)) return kExitFailure;
  EEPROM image;
  ConfigTextError error;
  if (!ImportConfigTextFile(path, args.Has("onto") ? &base : nullptr, image, error)) {
    Say(error.Text(ShownPath(path)));
    return kExitFailure;
  }
  if (!Save(args.Get("output"), image.Data(), static_cast<size_t>(image.GetLength())))
    return kExitFailure;
  Tell("imported " + ShownPath(path) + " into " + ShownPath(args.Get("output")));
  return kExitOk;
}
