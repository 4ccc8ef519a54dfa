// Linked into every test program: the per-user data folder (where the read
// archive lives) is a scratch folder of the program's own, made before any
// test runs and removed at exit, so no test ever writes into the home of
// the person running them. Tests that need a folder of their own set
// XDG_DATA_HOME again.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

class DataHomeSandbox {
 public:
  DataHomeSandbox() {
    char folder[] = "/tmp/vorn-test-data-XXXXXX";
    if (mkdtemp(folder) != nullptr) {
      folder_ = folder;
      setenv("XDG_DATA_HOME", folder, 1);
    } else {
      // Never fall back to the real home: a path that cannot be made.
      setenv("XDG_DATA_HOME", "/nonexistent/vorn-test-data", 1);
    }
  }
  ~DataHomeSandbox() {
    std::error_code ec;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
  }

 private:
  std::string folder_;
};

const DataHomeSandbox sandbox;

}  // namespace
