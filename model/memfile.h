#pragma once
// Loading a mem-file into the image and checking that it belongs to a
// radio this build accepts. The caller shows the messages.

#include <cstddef>
#include <cstdint>
#include <string>

class EEPROM;
class TradioInfo;

// A mem-file is the 2048-byte image. A shorter one loads with the rest
// erased and a longer one with the rest ignored, but a file of more than
// this is no mem-file at all and is refused unread.
inline constexpr uint64_t kMaxMemFileBytes = 64 * 1024;

enum class MemFileStatus {
  Loaded,         // bytes loaded, radio type accepted
  OpenFailed,     // nothing changed: "Unable to open file " + path (+ ": " + why)
  WrongRadioType  // bytes loaded anyway: "Incorrect radio type (" + hex + ")"
};

struct MemFileResult {
  MemFileStatus status = MemFileStatus::OpenFailed;
  uint32_t productId = 0;  // the word at "Product ID" after loading
  int bytesRead = -1;
  uint64_t fileSize = 0;  // the whole file's, also when it is refused for it
  std::string message;    // the user-facing text, empty when Loaded
  std::string caption;    // "File Open Error" or "Reading Mem-file"
  // What the window's message leaves out: why a file that is not there
  // could not be opened ("No such file or directory").
  std::string unsaidReason;
};

// The message as a terminal says it: with the reason the window leaves
// out, so a script's log tells a missing file from any other failure.
std::string MessageWithReason(const MemFileResult& result);

// Reads the file without ever waiting on it (a FIFO, a device or a
// directory is refused with the reason) and applies LoadMemFileBytes.
MemFileResult CheckedLoadMemFile(EEPROM& image, const TradioInfo& info, uint32_t buildModelFlag,
                                 const std::string& path);

// The loader's rules on a file already read: `head` holds its first
// min(fileSize, image length) bytes. A file over kMaxMemFileBytes leaves
// the image as it was; any other fills it (the rest erased) and has its
// product ID checked.
MemFileResult LoadMemFileBytes(EEPROM& image, const TradioInfo& info, uint32_t buildModelFlag,
                               const std::string& path, const uint8_t* head, uint64_t fileSize);

// What a file not of the image's length means, as dump and report say it:
// path + " holds 100 bytes, not 2048: the rest reads as erased (0xFF)";
// empty for a whole image.
std::string MemFileSizeNote(const std::string& path, uint64_t fileSize, int imageLength);

// "5A01", "FFFF": upper-case hexadecimal with at least two digits.
std::string HexId(uint32_t value);
