#pragma once
// The reads a radio can be put back to: the read archive's whole reads of
// the models this build accepts, described as a technician picks one.

#include <cstdint>
#include <string>
#include <vector>

class ReadArchive;

struct RestoreCandidate {
  std::string path;
  std::string when;  // "2026-12-10 15:05:31", from the file's name
  uint32_t productId = 0;
  std::string model;
  std::string ident;  // the radio's selcall ident; empty on models without
};

// Newest first; files that are not whole reads of an accepted model are
// left out.
std::vector<RestoreCandidate> RestoreCandidates(const ReadArchive& archive,
                                                uint32_t buildModelFlag);
