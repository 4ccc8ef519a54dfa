#pragma once
// Replacing a file's contents in one step: the bytes go to a fresh file
// beside it, which is then renamed over it, so a failure at any step
// leaves an existing file as it was. Mem-files and saved reports use it.

#include <cstddef>
#include <cstdint>

// True when `path` now holds exactly `bytes`. On failure errno says why.
bool ReplaceFileContents(const char* path, const uint8_t* bytes, size_t size);
