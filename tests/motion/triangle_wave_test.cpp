// The triangle-wave factor and the catch-up of a part's cycle start, checked against a literal
// one-period-at-a-time loop wherever that loop is exact.
#include "motion/triangle_wave.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>

namespace {

struct Motion {
  uint32_t startTime;
  float factor;
};

// Elapsed time in single precision, whole periods subtracted one at a time.
Motion SteppedMotion(uint32_t startTime, uint32_t t, uint32_t period) {
  float e = static_cast<float>(static_cast<double>(t) - static_cast<double>(startTime));
  while (e > static_cast<float>(period)) {
    e -= static_cast<float>(period);
    startTime += period;
  }
  const double f = e <= static_cast<float>(period >> 1) ? 2.0 * e / period : 1.0 - (2.0 * e - period) / period;
  return {startTime, static_cast<float>(f)};
}

Motion ComputedMotion(uint32_t startTime, uint32_t t, uint32_t period) {
  int64_t elapsed = -1;
  const uint32_t newStart = CatchUpStartTime(startTime, t, period, &elapsed);
  return {newStart, TriangleWaveFactor(elapsed, period)};
}

TEST(TriangleWave, FactorTableAndOddPeriods) {
  const float expected[] = {0.0f, 0.5f, 1.0f, 0.5f, 0.0f};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(TriangleWaveFactor(500 * i, 2000), expected[i]);
  EXPECT_EQ(TriangleWaveFactor(2, 5), 0.8f);  // the rising half ends at the rounded-down half
  EXPECT_EQ(TriangleWaveFactor(3, 5), 0.8f);
}

TEST(TriangleWave, CatchUpAgreesWithSteppedLoopWhereItIsExact) {
  std::mt19937 random(77);
  for (uint32_t period : {1000u, 2000u, 4000u, 500u, 5u, 7u, 1u, 65535u}) {
    for (int i = 0; i < 3000; ++i) {
      const uint32_t start = std::uniform_int_distribution<uint32_t>(1, 4000000000u)(random);
      // Below 2^24 ms the single-precision loop is exact; its own cost bounds the long gaps.
      const uint64_t longGap = std::min<uint64_t>((1u << 24) - 1, uint64_t{period} * 2000);
      const uint32_t gap = std::uniform_int_distribution<uint32_t>(0, i % 3 ? 5 * period + 3 : uint32_t(longGap))(random);
      if (start > UINT32_MAX - gap) continue;  // the loop has no notion of wrapping
      const Motion expected = SteppedMotion(start, start + gap, period);
      const Motion actual = ComputedMotion(start, start + gap, period);
      ASSERT_EQ(actual.startTime, expected.startTime) << start << " + " << gap << " / " << period;
      ASSERT_EQ(actual.factor, expected.factor) << start << " + " << gap << " / " << period;
    }
  }
  int64_t elapsed = 0;  // two billion periods in one step
  EXPECT_EQ(CatchUpStartTime(1, 0x7FFFFFFFu, 3, &elapsed), 0x7FFFFFFFu - 3u);
  EXPECT_EQ(elapsed, 3);
}

TEST(TriangleWave, TimeBeforeTheStartKeepsThePhaseWithinTheWave) {
  // The manual clock had run 500 ms ahead: the start goes back one period, factor 0.5 (not -0.5).
  const Motion back = ComputedMotion(10000, 9500, 2000);
  EXPECT_EQ(back.startTime, 8000u);
  EXPECT_EQ(back.factor, 0.5f);
  // The 32-bit clock wrapped between the start and now: 512 ms have passed.
  EXPECT_EQ(ComputedMotion(0xFFFFFF00u, 0x100u, 2000).factor, 0.512f);
  std::mt19937 random(5);
  for (int i = 0; i < 20000; ++i) {
    const uint32_t period = std::uniform_int_distribution<uint32_t>(1, 5000)(random);
    const uint32_t t = std::uniform_int_distribution<uint32_t>(0, UINT32_MAX)(random);
    const uint32_t start = t + std::uniform_int_distribution<uint32_t>(1, 0x7FFFFFFF)(random);
    int64_t elapsed = -1;
    const uint32_t newStart = CatchUpStartTime(start, t, period, &elapsed);
    ASSERT_GE(elapsed, 0);
    ASSERT_LT(elapsed, int64_t{period});
    ASSERT_EQ(uint32_t(t - newStart), uint32_t(elapsed));
    ASSERT_EQ(uint32_t(start - newStart) % period, 0u);  // moved by whole periods
  }
}

}  // namespace
