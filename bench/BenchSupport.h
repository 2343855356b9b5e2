#pragma once
// Small helpers the bench programs share.

#include <algorithm>
#include <vector>

// Middle value of the timings (the upper middle for an even count); 0 for none.
inline double median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}
