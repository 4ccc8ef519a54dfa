#pragma once
// What the configuration is compared with: the state it was last loaded,
// read or saved in (for the unsaved-changes mark), and the state it was
// last loaded or read in, or written to the radio (for the groups a
// "write changes" carries).

#include <cstdint>
#include <vector>

#include "eebuff.h"
#include "groups.h"

class ConfigBaseline {
 public:
  // Loaded from a file or read from a radio: nothing is changed.
  void Loaded(const EEbuffer& image);
  // Saved into a file: nothing is unsaved; the radio is as it was.
  void Saved(const EEbuffer& image);
  // Written into the radio: it holds what the image holds.
  void Written(const EEbuffer& image);

  // The image differs from what was last loaded, read or saved. Nothing
  // loaded yet: never.
  bool Modified(const EEbuffer& image) const;
  // The groups that differ from what was last loaded, read or written.
  GroupSet ChangedGroups(const EEbuffer& image, const ImageGroupMap& map) const;

 private:
  static std::vector<uint8_t> Copy(const EEbuffer& image);
  std::vector<uint8_t> saved_;
  std::vector<uint8_t> origin_;
};
