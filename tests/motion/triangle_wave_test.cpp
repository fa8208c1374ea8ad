// The triangle-wave factor and the catch-up of a part's cycle start, checked against a literal
// one-period-at-a-time loop wherever that loop is exact.
#include "motion/triangle_wave.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>

namespace {

struct Stepped {
  uint32_t startTime;
  float factor;
};

// The motion of a part computed the plain way: elapsed time in single precision, whole periods
// subtracted one at a time.
Stepped SteppedMotion(uint32_t startTime, uint32_t t, uint32_t period) {
  float e = static_cast<float>(static_cast<double>(t) - static_cast<double>(startTime));
  while (e > static_cast<float>(period)) {
    e -= static_cast<float>(period);
    startTime += period;
  }
  const uint32_t h = period >> 1;
  const double f = e <= static_cast<float>(h) ? 2.0 * e / period : 1.0 - (2.0 * e - period) / period;
  return {startTime, static_cast<float>(f)};
}

Stepped Motion(uint32_t startTime, uint32_t t, uint32_t period) {
  int64_t elapsed = -1;
  const uint32_t newStart = CatchUpStartTime(startTime, t, period, &elapsed);
  EXPECT_GE(elapsed, 0);
  EXPECT_LE(elapsed, static_cast<int64_t>(period));
  return {newStart, TriangleWaveFactor(elapsed, period)};
}

TEST(TriangleWave, FactorTable) {
  EXPECT_EQ(TriangleWaveFactor(0, 2000), 0.0f);
  EXPECT_EQ(TriangleWaveFactor(500, 2000), 0.5f);
  EXPECT_EQ(TriangleWaveFactor(1000, 2000), 1.0f);
  EXPECT_EQ(TriangleWaveFactor(1500, 2000), 0.5f);
  EXPECT_EQ(TriangleWaveFactor(2000, 2000), 0.0f);
  // Odd period: the rising half ends at the rounded-down half period.
  EXPECT_EQ(TriangleWaveFactor(2, 5), 0.8f);
  EXPECT_EQ(TriangleWaveFactor(3, 5), 0.8f);
  EXPECT_EQ(TriangleWaveFactor(1, 1), 0.0f);
}

TEST(TriangleWave, CatchUpCases) {
  // e equal to the period: no catch-up, factor 0.
  EXPECT_EQ(Motion(1000, 3000, 2000).startTime, 1000u);
  EXPECT_EQ(Motion(1000, 3000, 2000).factor, 0.0f);
  // Several periods elapsed.
  const Stepped several = Motion(1000, 4500, 1000);
  EXPECT_EQ(several.startTime, 4000u);
  EXPECT_EQ(several.factor, 1.0f);
  // Exactly two periods stops at e = period, not 0.
  int64_t elapsed = 0;
  EXPECT_EQ(CatchUpStartTime(1000, 5000, 2000, &elapsed), 3000u);
  EXPECT_EQ(elapsed, 2000);
}

TEST(TriangleWave, AgreesWithSteppedLoopWhereItIsExact) {
  std::mt19937 random(77);
  const uint32_t periods[] = {1000, 2000, 4000, 500, 5, 7, 1, 3001, 65535};
  int checked = 0;
  for (uint32_t period : periods) {
    for (int i = 0; i < 3000; ++i) {
      const uint32_t start = std::uniform_int_distribution<uint32_t>(1, 4000000000u)(random);
      // Gaps below 2^24 ms keep the single-precision loop exact; the loop's own cost bounds the rest.
      const uint64_t longGap = std::min<uint64_t>((1u << 24) - 1, static_cast<uint64_t>(period) * 2000);
      const uint32_t limit = i % 3 == 0 ? static_cast<uint32_t>(longGap) : 5 * period + 3;
      const uint32_t gap = std::uniform_int_distribution<uint32_t>(0, limit)(random);
      if (start > UINT32_MAX - gap) continue;  // the loop has no notion of wrapping
      const Stepped expected = SteppedMotion(start, start + gap, period);
      const Stepped actual = Motion(start, start + gap, period);
      ASSERT_EQ(actual.startTime, expected.startTime) << start << " + " << gap << " period " << period;
      ASSERT_EQ(actual.factor, expected.factor) << start << " + " << gap << " period " << period;
      ++checked;
    }
  }
  EXPECT_GT(checked, 25000);
}

TEST(TriangleWave, TimeBeforeStartKeepsPhaseWithinTheWave) {
  // The manual clock ran 500 ms ahead of the system clock: the start moves back one period.
  const Stepped back = Motion(10000, 9500, 2000);
  EXPECT_EQ(back.startTime, 8000u);
  EXPECT_EQ(back.factor, 0.5f);
  std::mt19937 random(5);
  for (int i = 0; i < 20000; ++i) {
    const uint32_t period = std::uniform_int_distribution<uint32_t>(1, 5000)(random);
    const uint32_t t = std::uniform_int_distribution<uint32_t>(0, UINT32_MAX)(random);
    const uint32_t behind = std::uniform_int_distribution<uint32_t>(1, 0x7FFFFFFF)(random);
    const uint32_t start = t + behind;  // t is `behind` ms earlier than the start
    int64_t elapsed = -1;
    const uint32_t newStart = CatchUpStartTime(start, t, period, &elapsed);
    ASSERT_GE(elapsed, 0);
    ASSERT_LT(elapsed, static_cast<int64_t>(period));
    ASSERT_EQ(static_cast<uint32_t>(t - newStart), static_cast<uint32_t>(elapsed));
    // Phase kept: the start moved by whole periods.
    ASSERT_EQ((static_cast<uint64_t>(start - newStart)) % period, 0u);
    const float f = TriangleWaveFactor(elapsed, period);
    ASSERT_GE(f, 0.0f);
    ASSERT_LE(f, 1.0f);
  }
}

TEST(TriangleWave, ClockWrapAndHugeGapsAreConstantTime) {
  // The 32-bit clock wrapped between the start and now: 512 ms have passed.
  const Stepped wrapped = Motion(0xFFFFFF00u, 0x100u, 2000);
  EXPECT_EQ(wrapped.startTime, 0xFFFFFF00u);
  EXPECT_EQ(wrapped.factor, static_cast<float>(2.0 * 512 / 2000));
  // Two billion one-millisecond periods in one step.
  int64_t elapsed = 0;
  EXPECT_EQ(CatchUpStartTime(1, 0x7FFFFFFFu, 1, &elapsed), 0x7FFFFFFEu);
  EXPECT_EQ(elapsed, 1);
  EXPECT_EQ(CatchUpStartTime(1, 0x7FFFFFFFu, 3, &elapsed), 0x7FFFFFFFu - 3u);
  EXPECT_EQ(elapsed, 3);
}

}  // namespace
