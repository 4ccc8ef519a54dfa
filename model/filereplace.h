#pragma once
// Replacing a file's contents in one step: the bytes go to a fresh file
// beside it, which is then renamed over it, so a failure at any step
// leaves an existing file as it was. Mem-files and saved reports use it.
// Also the one loop that hands a whole buffer to a descriptor.

#include <cstddef>
#include <cstdint>

// True when `path` now holds exactly `bytes`. On failure errno says why.
bool ReplaceFileContents(const char* path, const uint8_t* bytes, size_t size);

// Writes all `size` bytes to `fd`, going on after a partial or interrupted
// write. False on failure, with errno saying why.
bool WriteWhole(int fd, const void* bytes, size_t size);
