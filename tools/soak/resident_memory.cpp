// Resident memory from /proc/self/statm (its second field, in pages) and heap use from mallinfo2.
#include "tools/soak/resident_memory.h"

#include <malloc.h>
#include <unistd.h>

#include <cstdio>

uint64_t ResidentBytes() {
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return 0;
  unsigned long long sizePages = 0, residentPages = 0;
  const int read = std::fscanf(statm, "%llu %llu", &sizePages, &residentPages);
  std::fclose(statm);
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (read != 2 || pageSize <= 0) return 0;
  return residentPages * static_cast<uint64_t>(pageSize);
}

uint64_t HeapInUseBytes() {
  const struct mallinfo2 info = mallinfo2();
  return static_cast<uint64_t>(info.uordblks) + static_cast<uint64_t>(info.hblkhd);
}
