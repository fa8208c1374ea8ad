// The ground scroll: the wrap rule's edges and agreement with one-tile-at-a-time subtraction.
#include "render/ground_scroll.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace {

// The scroll advanced and folded back one tile at a time.
double SteppedScroll(double scroll, uint32_t delta, uint32_t period) {
  scroll += static_cast<double>(delta) / static_cast<double>(period);
  while (scroll > 2.5) scroll -= 2.5;
  return scroll;
}

TEST(GroundScroll, WrapEdges) {
  EXPECT_EQ(AdvanceGroundScroll(0.0, 0, 2000), 0.0);  // the first pass: delta 0
  EXPECT_EQ(AdvanceGroundScroll(2.0, 1000, 2000), 2.5);  // exactly one tile stays a tile
  EXPECT_NEAR(AdvanceGroundScroll(2.5, 20, 2000), 0.01, 1e-12);  // ...until the next positive step
  EXPECT_EQ(AdvanceGroundScroll(0.0, 10000, 2000), 2.5);  // a 10 s stall: 5.0 becomes 2.5
  EXPECT_EQ(AdvanceGroundScroll(1.0, 0, 2000), 1.0);
  EXPECT_EQ(AdvanceGroundScroll(1.0, 5000, 0), 1.0);  // no period, no scroll (and no infinity)
}

TEST(GroundScroll, AgreesWithTileByTileSubtraction) {
  std::mt19937 random(20240611);
  const uint32_t periods[] = {1000, 2000, 4000, 3, 777, 65536};
  for (int i = 0; i < 20000; ++i) {
    const double start = std::uniform_real_distribution<double>(0.0, 2.5)(random);
    const uint32_t period = periods[i % 6];
    const uint32_t delta = i % 50 == 0 ? std::uniform_int_distribution<uint32_t>(0, 3000000)(random)
                                       : std::uniform_int_distribution<uint32_t>(0, 12000)(random);
    ASSERT_EQ(AdvanceGroundScroll(start, delta, period), SteppedScroll(start, delta, period))
        << "start " << start << " delta " << delta << " period " << period;
  }
  // Whole tiles from every kind of start.
  for (uint32_t tiles = 1; tiles < 40; ++tiles) {
    ASSERT_EQ(AdvanceGroundScroll(0.0, tiles * 5000, 2000), SteppedScroll(0.0, tiles * 5000, 2000));
    ASSERT_EQ(AdvanceGroundScroll(2.5, tiles * 5000, 2000), SteppedScroll(2.5, tiles * 5000, 2000));
  }
}

TEST(GroundScroll, LargestGapsAgreeAndCostNoLoop) {
  // Leaving manual mode with the manual clock ahead gives a delta close to 2^32 ms.
  for (uint32_t delta : {4294967295u, 4294967000u, 4294000000u}) {
    for (uint32_t period : {1000u, 2000u, 4000u}) {
      EXPECT_EQ(AdvanceGroundScroll(1.25, delta, period), SteppedScroll(1.25, delta, period));
    }
  }
  // A value that tile-by-tile subtraction would need 4e12 steps for.
  EXPECT_EQ(WrapGroundScroll(1e13 + 1.0), 1.0);
  EXPECT_EQ(WrapGroundScroll(1e13), 2.5);
}

}  // namespace
