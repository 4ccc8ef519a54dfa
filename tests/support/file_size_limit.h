#pragma once
// A full disk for one test, for root as well: while a FileSizeLimit lives,
// this process and the programs it starts may make no file longer than
// the limit, and a write past it fails with EFBIG ("File too large")
// instead of raising SIGXFSZ.
#include <signal.h>
#include <sys/resource.h>

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) : oldHandler_(signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    struct rlimit small = saved_;
    small.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &small);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  struct rlimit saved_ {};
  void (*oldHandler_)(int);
};
