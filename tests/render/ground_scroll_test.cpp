// The ground scroll: the wrap rule's edges, and agreement with one-tile-at-a-time subtraction.
#include "render/ground_scroll.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace {

double SteppedScroll(double scroll, uint32_t delta, uint32_t period) {
  scroll += static_cast<double>(delta) / static_cast<double>(period);
  while (scroll > 2.5) scroll -= 2.5;
  return scroll;
}

TEST(GroundScroll, WrapsLikeTileByTileSubtractionAtConstantCost) {
  EXPECT_EQ(AdvanceGroundScroll(0.0, 0, 2000), 0.0);  // the first pass
  EXPECT_EQ(AdvanceGroundScroll(2.0, 1000, 2000), 2.5);  // one whole tile stays 2.5
  EXPECT_EQ(AdvanceGroundScroll(0.0, 10000, 2000), 2.5);  // a 10 s stall: 5.0 becomes 2.5
  EXPECT_EQ(AdvanceGroundScroll(1.0, 5000, 0), 1.0);  // no period: no scroll, no infinity
  EXPECT_EQ(WrapGroundScroll(1e13 + 1.0), 1.0);  // 4e12 tiles, no loop
  std::mt19937 random(20240611);
  const uint32_t periods[] = {1000, 2000, 4000, 3, 777};
  for (int i = 0; i < 20000; ++i) {
    const double start = i % 7 == 0 ? 2.5 : std::uniform_real_distribution<double>(0.0, 2.5)(random);
    uint32_t period = periods[i % 5];
    // Mostly ordinary frame gaps, some whole tiles, and the near-2^32 gap of leaving manual mode.
    uint32_t delta = std::uniform_int_distribution<uint32_t>(0, 12000)(random);
    if (i % 11 == 0) delta = 5000 * (i % 40);
    if (i % 997 == 0) {
      delta = 4294967295u - (i % 5000);
      period = periods[i % 3];  // the viewer's own periods keep the stepped loop affordable
    }
    ASSERT_EQ(AdvanceGroundScroll(start, delta, period), SteppedScroll(start, delta, period))
        << start << " + " << delta << " / " << period;
  }
}

}  // namespace
