#include "baseline.h"

#include <algorithm>

std::vector<uint8_t> ConfigBaseline::Copy(const EEbuffer& image) {
  return std::vector<uint8_t>(image.Data(), image.Data() + image.GetLength());
}

void ConfigBaseline::Loaded(const EEbuffer& image) { saved_ = origin_ = Copy(image); }
void ConfigBaseline::Saved(const EEbuffer& image) { saved_ = Copy(image); }
void ConfigBaseline::Written(const EEbuffer& image) { origin_ = Copy(image); }

bool ConfigBaseline::Modified(const EEbuffer& image) const {
  return !saved_.empty() && !std::equal(saved_.begin(), saved_.end(), image.Data(),
                                        image.Data() + image.GetLength());
}

GroupSet ConfigBaseline::ChangedGroups(const EEbuffer& image, const ImageGroupMap& map) const {
  if (origin_.size() != static_cast<size_t>(image.GetLength()) || image.GetLength() != kImageSize)
    return GroupSet();
  return ::ChangedGroups(map, origin_.data(), image.Data());
}
