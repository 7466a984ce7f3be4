#pragma once

#include <vector>

// What the benchmarks share to report their figures.
namespace bench {

// The middle value; at least one value is needed.
double median(std::vector<double> values);

// A memory figure of this process in KiB, as /proc/self/status gives it:
// "VmRSS:" resident now, "VmHWM:" the peak. -1 where it is not given.
long statusKiB(const char* field);

} // namespace bench
