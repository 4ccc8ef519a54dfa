#pragma once
// The read archive: every complete read from a radio is also kept, quietly,
// as a mem-file in a per-user folder, so a radio whose configuration was
// overwritten by mistake can be put back as it was. Files are named by the
// time of the read, the model and the product ID, and an earlier file is
// never replaced.

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

class EEPROM;

// "<data folder>/Vorn/<program>/reads": the data folder is XDG_DATA_HOME
// when that is an absolute path, else $HOME/.local/share. Empty when
// neither is set.
std::string DefaultReadArchiveFolder(const std::string& programName);

// "2026-12-10_15-05-31_Kestal_0x0083.mem"; attempt 2 onwards adds "_2"...
// Characters of the model name that do not belong in a file name become "-".
std::string ArchiveFileName(const std::tm& localTime, const std::string& modelName,
                            uint32_t productId, int attempt = 1);

struct ArchivedRead {
  std::string path;
  std::string name;
  uintmax_t size = 0;
};

class ReadArchive {
 public:
  explicit ReadArchive(std::string folder) : folder_(std::move(folder)) {}
  const std::string& Folder() const { return folder_; }

  // Writes the whole image into a new file, creating the folder when
  // needed. On success path names the file; on failure error says why (in
  // words fit for a status bar) and no file is left behind.
  bool Save(const EEPROM& image, uint32_t productId, const std::string& modelName,
            std::time_t when, std::string& path, std::string& error) const;

  // The archived mem-files, oldest first: by the time in their names, then
  // by the number of the read within that second. None when the folder is
  // missing.
  std::vector<ArchivedRead> List() const;

 private:
  std::string folder_;
};
