#pragma once
// The few POSIX file calls the core uses beyond what the Windows C library
// has, given their Windows meaning. The Windows build includes this ahead
// of every source (see the top CMakeLists.txt), so the files above the
// platform layer are the same on both systems.

#ifdef _WIN32

#include <fcntl.h>
#include <io.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>

// Descriptors are kept from child processes, as O_CLOEXEC does.
#ifndef O_CLOEXEC
#define O_CLOEXEC _O_NOINHERIT
#endif

#ifndef LOCK_EX
#define LOCK_SH 1
#define LOCK_EX 2
#define LOCK_NB 4
#define LOCK_UN 8
#endif

// The data is on the disk once this returns (FlushFileBuffers).
int fsync(int fd);
int fdatasync(int fd);
// Reads at an offset; the descriptor's own position may move, which only
// appending descriptors share here.
ptrdiff_t pread(int fd, void* buffer, size_t count, int64_t offset);
// A whole-file lock of the open file: a second open of it, even in this
// process, is kept out (LockFileEx). EWOULDBLOCK when held elsewhere.
int flock(int fd, int operation);

#endif  // _WIN32
