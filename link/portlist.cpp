#include "portlist.h"

std::vector<int> ExistingPorts(const PortMap& map) {
  std::vector<int> numbers;
  for (int n = 1; n <= kMaxPortNumber; ++n)
    if (map.PortExists(n)) numbers.push_back(n);
  return numbers;
}

std::vector<PortEntry> ListPorts(const PortMap& map) {
  std::vector<PortEntry> entries;
  for (int n : ExistingPorts(map)) entries.push_back({n, map.DevicePath(n), map.Description(n)});
  return entries;
}

std::string PortEntryText(const PortEntry& entry) {
  std::string text = PortMap::ComName(entry.number) + "  " + entry.device;
  if (!entry.description.empty()) text += "  " + entry.description;
  return text;
}
