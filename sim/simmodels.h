#pragma once
// Which radio the simulator plays: model names as typed on its command
// line, and the firmware each model ships with by default.

#include <cstdint>
#include <string>

// A firmware version as the radio reports it: major and minor are the
// bytes of the version reply (the programmer prints them in hexadecimal,
// so minor 0x05 reads "05"), suffix a letter code or 0.
struct SimVersion {
  int major = 0;
  int minor = 0;
  int suffix = 0;
};

// "merlo", "kestal", "pinto", "dravo", "sorel", "tamso", "kestal-bt", in
// any case. False for anything else.
bool ParseSimModel(const std::string& name, uint32_t& productId);
// The command-line name of a model, "" for a product not in the table.
std::string SimModelKey(uint32_t productId);

// A current firmware for the model (Kestal 3.00, ...).
SimVersion DefaultSimVersion(uint32_t productId);
// Starts with the model's name, at most 16 characters ("Kestal UHF CB").
std::string DefaultFirmwareText(uint32_t productId);

// "3.0", "2.05", "1.01b": the digits are read as the programmer prints
// them (hexadecimal), so the text round-trips through its version window;
// one trailing lower-case letter is the suffix. False on anything else.
bool ParseSimVersion(const std::string& text, SimVersion& version);
std::string SimVersionText(const SimVersion& version);  // "3.00", "1.05b"
