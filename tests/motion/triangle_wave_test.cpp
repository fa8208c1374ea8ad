// The triangle-wave factor and the catch-up of a part's cycle start.
#include "motion/triangle_wave.h"

#include <gtest/gtest.h>

TEST(TriangleWave, FactorsAndCatchUp) {
  const struct {
    int64_t elapsed;
    uint32_t period;
    float factor;
  } factors[] = {{0, 2000, 0},    {500, 2000, 0.5f}, {1000, 2000, 1}, {1500, 2000, 0.5f},
                 {2000, 2000, 0}, {2, 5, 0.8f},      {3, 5, 0.8f}};
  for (const auto& f : factors)
    EXPECT_EQ(TriangleWaveFactor(f.elapsed, f.period), f.factor) << f.elapsed << "/" << f.period;
  // Whole periods move the start; a time before the start goes back keeping the phase; the time
  // since the start wraps with the 32-bit clock.
  const struct {
    uint32_t start, t, period, newStart;
    int64_t elapsed;
  } catchUps[] = {{1000, 3000, 2000, 1000, 2000},    {1000, 5000, 2000, 3000, 2000},
                  {1000, 4500, 1000, 4000, 500},     {10000, 9500, 2000, 8000, 1500},
                  {10000, 6000, 2000, 6000, 0},      {0xFFFFFF00u, 0x100, 2000, 0xFFFFFF00u, 512},
                  {1, 0x7FFFFFFF, 3, 0x7FFFFFFC, 3}, {77, 5, 0, 77, 0}};
  for (const auto& c : catchUps) {
    int64_t elapsed = -1;
    EXPECT_EQ(CatchUpStartTime(c.start, c.t, c.period, &elapsed), c.newStart) << c.start << " " << c.t;
    EXPECT_EQ(elapsed, c.elapsed) << c.start << " " << c.t;
  }
}
