#include "platform/clock.h"

#include <time.h>

namespace {

uint32_t MonotonicMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(ms);
}

ClockSource clockSource = MonotonicMilliseconds;

}  // namespace

uint32_t timeGetTime() { return clockSource(); }

void SetClockSource(ClockSource source) { clockSource = source ? source : MonotonicMilliseconds; }
