// Catch-up of a cycle start and the triangle-wave factor.
#include "motion/triangle_wave.h"

uint32_t CatchUpStartTime(uint32_t startTime, uint32_t t, uint32_t period, int64_t* elapsed) {
  int64_t e = static_cast<int32_t>(t - startTime);
  const int64_t p = period;
  if (p == 0) {
    *elapsed = 0;
    return startTime;
  }
  if (e > p) {
    const int64_t cycles = (e - 1) / p;  // leaves e in (0, p], as stepping while e > p would
    e -= cycles * p;
    startTime += static_cast<uint32_t>(static_cast<uint64_t>(cycles) * static_cast<uint64_t>(p));
  } else if (e < 0) {
    const int64_t cycles = (-e + p - 1) / p;  // the fewest whole periods that make e >= 0
    e += cycles * p;
    startTime -= static_cast<uint32_t>(static_cast<uint64_t>(cycles) * static_cast<uint64_t>(p));
  }
  *elapsed = e;
  return startTime;
}

float TriangleWaveFactor(int64_t elapsed, uint32_t period) {
  const double e = static_cast<double>(elapsed);
  const double p = static_cast<double>(period);
  const uint32_t half = period >> 1;
  if (e <= static_cast<double>(half)) return static_cast<float>(2.0 * e / p);
  return static_cast<float>(1.0 - (2.0 * e - p) / p);
}
