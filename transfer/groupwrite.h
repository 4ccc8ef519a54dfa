#pragma once
// Writes that carry only what was meant. The radio is read whole first
// (and kept in the read archive, so any write can be taken back); the
// chosen groups are taken from the configuration and every other bit
// stays as the radio has it; only the 16-byte blocks that then differ
// from the radio are written, and those are read back and compared.

#include <string>
#include <vector>

#include "eeprom.h"
#include "groups.h"

class TransferFlows;

struct GroupWriteReport {
  enum class Ending {
    kWritten,         // written and read back equal
    kNothingToWrite,  // the radio already held the groups
    kNotStarted,      // port, model or read before the write: nothing written
    kCutShort,        // the write stopped part way
    kVerifyFailed,    // written, but the read-back differs
  };
  Ending ending = Ending::kNotStarted;
  GroupSet groups;           // the groups asked for
  GroupSet changed;          // those whose bits differed from the radio's
  int blocks = 0;            // blocks to write
  GroupSet writtenWhole;     // after a cut: every block of theirs written
  GroupSet partlyWritten;    // some of their blocks written
  std::string backupPath;    // the archived read taken just before
  std::vector<int> mismatched;  // block addresses the read-back found different

  // What happened, in one or two sentences for the technician.
  std::string Summary() const;
};

// The 16-byte blocks in which `a` and `b` differ, one entry per block.
std::vector<bool> DifferingBlocks(const EEPROM& a, const EEPROM& b);
int CountBlocks(const std::vector<bool>& blocks);

// Writes `groups` of `config` into the connected radio. `config` is of
// the model whose group map is `map`.
GroupWriteReport WriteGroups(TransferFlows& flows, const EEPROM& config, const ImageGroupMap& map,
                             GroupSet groups);

// Puts a read of a radio back into it whole, calibration and identity
// included: the radio ends byte for byte as the read.
GroupWriteReport RestoreRead(TransferFlows& flows, const EEPROM& read, const ImageGroupMap& map);
