// Phase and re-timing arithmetic of a speed change.
#include "motion/gait_timing.h"

#include <cmath>

float GaitPhase(uint32_t now, uint32_t startTime, uint32_t period) {
  if (period == 0) return 0.0f;
  const uint32_t elapsed = now - startTime;
  return static_cast<float>(static_cast<double>(elapsed) / static_cast<double>(period));
}

uint32_t TruncateToLow32(double x) {
  if (!std::isfinite(x)) return 0;
  double whole = std::trunc(x);
  // fmod is exact, so this is the integer modulo 2^32, which is what the low 32 bits of its
  // two's-complement form hold.
  whole = std::fmod(whole, 4294967296.0);
  if (whole < 0.0) whole += 4294967296.0;
  return static_cast<uint32_t>(whole);
}

GaitTiming ComputeGaitTiming(uint32_t newPeriod, uint32_t now, float phase) {
  const uint32_t half = newPeriod >> 1;
  const uint32_t quarter = newPeriod >> 2;
  const double p = phase;
  const double base = static_cast<double>(now - quarter);
  const double rootPeriodSpan = 2.0 * static_cast<double>(quarter);
  GaitTiming timing{};
  timing.rootPeriod = half;
  // The root's cycle is half as long; past mid-gait it is placed at the same fraction, before it
  // half a root cycle further on.
  timing.rootStartTime = p > 0.5 ? TruncateToLow32(base - rootPeriodSpan * (p - 0.5))
                                 : TruncateToLow32(base - rootPeriodSpan * p);
  const uint32_t k = TruncateToLow32(static_cast<double>(newPeriod) * p);
  timing.limbPeriod = newPeriod;
  timing.trailingStartTime = now - half - k;
  timing.leadingStartTime = now - k;
  return timing;
}
