// The resident set size of this process, as the kernel reports it in /proc/self/statm.
#pragma once

#include <cstdint>

// Bytes resident now; 0 when /proc cannot be read.
uint64_t ResidentBytes();
