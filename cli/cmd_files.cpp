// dump and diff: mem-files as text, without a radio.

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "commands.h"
#include "eeprom.h"
#include "imagetext.h"
#include "session.h"

namespace {

// Loads a mem-file as the window would, without judging its model: these
// commands show any model's file.
bool LoadImage(const std::string& path, EEPROM& image) {
  if (image.LoadFromFile(path.c_str()) < 0) {
    Say("File Open Error: Unable to open file " + path);
    return false;
  }
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (!ec && size != static_cast<uintmax_t>(image.GetLength()))
    Say(path + " holds " + std::to_string(size) + " bytes, not " + std::to_string(image.GetLength()) +
        (size < static_cast<uintmax_t>(image.GetLength()) ? ": the rest reads as erased (0xFF)"
                                                          : ": the rest is ignored"));
  return true;
}

void Print(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());
}

}  // namespace

int RunDump(const ParsedArgs& args) {
  EEPROM image;
  if (!LoadImage(args.operands[0], image)) return kExitFailure;
  Print(DumpLines(image));
  return kExitOk;
}

int RunDiff(const ParsedArgs& args) {
  EEPROM a, b;
  // Trouble is 2, as diff(1) has it: 1 already means "they differ".
  if (!LoadImage(args.operands[0], a) || !LoadImage(args.operands[1], b)) return kExitUsage;
  const std::vector<std::string> lines = DiffLines(a, b);
  Print(lines);
  return lines.empty() ? kExitOk : kExitFailure;
}
