#include "leadnames.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// The file a link leads to, its relative target read from the link's own
// folder (the links are "../../ttyUSB0"), without touching the real /dev.
fs::path LinkTarget(const fs::path& link) {
  std::error_code ec;
  fs::path target = fs::read_symlink(link, ec);
  if (ec) return {};
  if (target.is_relative()) target = link.parent_path() / target;
  return target.lexically_normal();
}

}  // namespace

std::vector<std::string> StableLeadNames(const std::string& devRoot, const std::string& kind,
                                         const std::string& device) {
  std::vector<std::string> names;
  const fs::path folder = fs::path(devRoot) / "serial" / kind;
  const fs::path wanted = fs::path(device).lexically_normal();
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path target = LinkTarget(it->path());
    // An absolute target names the live /dev: compare it under devRoot.
    const fs::path rooted = target.string().rfind("/dev/", 0) == 0 && devRoot != "/dev"
                                ? fs::path(devRoot) / target.lexically_relative("/dev")
                                : target;
    if (target == wanted || rooted.lexically_normal() == wanted) names.push_back(it->path().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}
