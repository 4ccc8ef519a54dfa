#pragma once
// One in-memory regular file per fuzzer run, rewritten for every input and
// opened by its /proc path, so the targets go through the same guarded
// file reader as the programs do without touching the disk.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

// The path of a file holding `content`, then `zeros` zero bytes.
inline std::string FuzzFileHolding(const void* content, size_t size, uint64_t zeros = 0) {
  static const int fd = memfd_create("vorn-fuzz-file", MFD_CLOEXEC);
  if (fd < 0 || ftruncate(fd, 0) != 0 || ftruncate(fd, static_cast<off_t>(size + zeros)) != 0 ||
      (size > 0 && pwrite(fd, content, size, 0) != static_cast<ssize_t>(size)))
    std::abort();
  return "/proc/self/fd/" + std::to_string(fd);
}
