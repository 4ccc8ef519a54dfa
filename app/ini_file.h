#pragma once
// A small editor for Windows-style INI text: reads one value and replaces
// one value while keeping every other line of the file as it was.

#include <string>

// The value of key in [section] (names compared without case), trimmed of
// surrounding blanks; fallback when the section or key is missing.
std::string ReadIniValue(const std::string& text, const std::string& section,
                         const std::string& key, const std::string& fallback = "");

// text with key in [section] set to value: an existing line is replaced in
// place, a missing key is added at the end of its section, a missing
// section is appended.
std::string WriteIniValue(const std::string& text, const std::string& section,
                          const std::string& key, const std::string& value);

// The first maxChars characters of UTF-8 text, never cutting a character.
std::string Utf8Prefix(const std::string& text, size_t maxChars);
