#include "memfile.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "eeprom.h"
#include "excerpt.h"
#include "params.h"
#include "radioinfo.h"
#include "userfile.h"

namespace {

MemFileResult OpenFailed(const std::string& path, const UserFileError& why) {
  MemFileResult result;
  result.status = MemFileStatus::OpenFailed;
  result.message = UnableToOpenText(path, why);
  result.caption = "File Open Error";
  if (why.Missing()) result.unsaidReason = why.reason.empty() ? ErrnoText(why.error) : why.reason;
  return result;
}

}  // namespace

std::string MessageWithReason(const MemFileResult& result) {
  return result.unsaidReason.empty() ? result.message : result.message + ": " + result.unsaidReason;
}

std::string HexId(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(value));
  return text;
}

MemFileResult CheckedLoadMemFile(EEPROM& image, const TradioInfo& info, uint32_t buildModelFlag,
                                 const std::string& path) {
  std::vector<uint8_t> head;
  uint64_t size = 0;
  UserFileError why;
  if (!ReadUserFileHead(path, static_cast<size_t>(image.GetLength()), head, size, why))
    return OpenFailed(path, why);
  // A file that shrank meanwhile is as long as what was read of it.
  if (head.size() < std::min<uint64_t>(size, static_cast<uint64_t>(image.GetLength())))
    size = head.size();
  return LoadMemFileBytes(image, info, buildModelFlag, path, head.data(), size);
}

MemFileResult LoadMemFileBytes(EEPROM& image, const TradioInfo& info, uint32_t buildModelFlag,
                               const std::string& path, const uint8_t* head, uint64_t fileSize) {
  if (fileSize > kMaxMemFileBytes) {
    UserFileError why;
    why.reason = TooLargeReason(std::to_string(fileSize) + " bytes", kMaxMemFileBytes, "a mem-file");
    MemFileResult result = OpenFailed(path, why);
    result.fileSize = fileSize;
    return result;
  }
  MemFileResult result;
  result.fileSize = fileSize;
  const int count = static_cast<int>(std::min<uint64_t>(fileSize, static_cast<uint64_t>(image.GetLength())));
  image.Fill(0xFF);
  image.WriteBlock(0, head, count);
  result.bytesRead = count;
  // The bytes stay in the image whatever the check below decides.
  const int word = image.GetWord(info.GetParamAddress(kParamProductId));
  result.productId = word < 0 ? kNoProductId : static_cast<uint32_t>(word);
  if (IsModelAccepted(result.productId, buildModelFlag)) {
    result.status = MemFileStatus::Loaded;
    return result;
  }
  result.status = MemFileStatus::WrongRadioType;
  result.message = "Incorrect radio type (" + HexId(result.productId) + ")";
  result.caption = "Reading Mem-file";
  return result;
}

std::string MemFileSizeNote(const std::string& path, uint64_t fileSize, int imageLength) {
  const uint64_t length = static_cast<uint64_t>(imageLength);
  if (fileSize == length) return "";
  return ShownPath(path) + " holds " + std::to_string(fileSize) + " bytes, not " +
         std::to_string(length) +
         (fileSize < length ? ": the rest reads as erased (0xFF)" : ": the rest is ignored");
}
