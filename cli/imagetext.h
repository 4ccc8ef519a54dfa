#pragma once
// Mem-files as text: every named parameter of the file's model and the
// decoded receive-only channels (dump), and what differs between two
// images, by name (diff).

#include <cstdint>
#include <string>
#include <vector>

#include "eeprom.h"
#include "paramshape.h"
#include "radioinfo.h"


// The model named by the image's product ID (row 0, only "Product ID",
// for an ID not in the table).
TradioInfo ModelOfImage(const EEPROM& image);

// A parameter's value: decimal and hexadecimal for bytes and words
// ("128", "0x80"), the bytes in hexadecimal for bit arrays and other runs
// of bytes, a pointer to the channel list for the channel records.
struct ParamValue {
  std::string decimal;
  std::string hex;
  std::string Joined() const;  // "128 (0x80)", or the one that is set
};
ParamValue ParamValueAt(const EEPROM& image, int address, const ParamShape& shape);

// One receive-only channel record, decoded, with its memberships.
struct RxChannel {
  int record = 0;
  RX_CH_DATA_STRUCT data;
};
// All records of the model (none when it has no receive-only channels).
std::vector<RxChannel> RxChannels(const EEPROM& image, const TradioInfo& info);
// "RX-B", or "-" on models without banks.
std::string RxBankText(const TradioInfo& info, int record);
int RxChannelNumber(int record);  // 81 + slot within the bank
// "476.4250 MHz \"ALPHA\" Scan0 - Quiet -"
std::string RxChannelText(const RX_CH_DATA_STRUCT& ch);

// The dump of an image as lines of text.
std::vector<std::string> DumpLines(const EEPROM& image);
// The differences between two images, one line each, by name; empty when
// they hold the same bytes.
std::vector<std::string> DiffLines(const EEPROM& a, const EEPROM& b);
