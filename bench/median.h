#pragma once
// The middle of a set of timings, the figure every benchmark prints: one
// slow run on a busy machine moves it no more than a fast one.

#include <algorithm>
#include <vector>

inline double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}
