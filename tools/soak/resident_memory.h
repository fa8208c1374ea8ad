// How much memory this process holds: the resident set as the kernel reports it in
// /proc/self/statm, and the bytes the C heap has handed out and not yet had back.
#pragma once

#include <cstdint>

// Bytes resident now; 0 when /proc cannot be read.
uint64_t ResidentBytes();

// Bytes of the C heap in use (small blocks and separately mapped large ones), live allocations only:
// a heap that only fragments keeps this flat while the resident size grows.
uint64_t HeapInUseBytes();
