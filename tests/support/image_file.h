#pragma once
// A memory image written to or read from a file whole, for tests that need
// a mem-file on disk. The programmer's own loading and saving go through
// memfile and userfile with their checks; these only move the bytes.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "eebuff.h"
#include "filereplace.h"
#include "userfile.h"

// Bytes written, or -1. An existing file survives any failure unchanged.
inline int SaveImageFile(const EEbuffer& image, const char* path) {
  if (path == nullptr ||
      !ReplaceFileContents(path, image.Data(), static_cast<size_t>(image.GetLength())))
    return -1;
  return image.GetLength();
}

// Bytes read (at most the image's length; the rest of the image erased),
// or -1 with the image unchanged when the file cannot be read.
inline int LoadImageFile(EEbuffer& image, const char* path) {
  std::vector<uint8_t> bytes;
  uint64_t size = 0;
  UserFileError why;
  if (path == nullptr ||
      !ReadUserFileHead(path, static_cast<size_t>(image.GetLength()), bytes, size, why))
    return -1;
  image.Fill(0xFF);
  image.WriteBlock(0, bytes.data(), static_cast<int>(bytes.size()));
  return static_cast<int>(bytes.size());
}
