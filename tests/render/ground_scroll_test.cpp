// The ground scroll: one unit per walking period, folded into (0, 2.5] by whole tiles.
#include "render/ground_scroll.h"

#include <gtest/gtest.h>

TEST(GroundScroll, AdvancesByThePeriodAndWrapsByWholeTiles) {
  const struct {
    double scroll;
    uint32_t delta, period;
    double result;
  } cases[] = {{0.0, 0, 2000, 0.0},
               {2.0, 1000, 2000, 2.5},
               {0.0, 10000, 2000, 2.5},
               {2.5, 1000, 4000, 0.25},
               {1.0, 5000, 0, 1.0},
               {0.5, 3000, 1000, 1.0},
               {2.25, 4294967295u, 1000, 2.25 + 4294967.295 - 1717987 * 2.5}};
  for (const auto& c : cases) {
    EXPECT_NEAR(AdvanceGroundScroll(c.scroll, c.delta, c.period), c.result, 1e-6) << c.scroll << " + " << c.delta;
  }
  EXPECT_EQ(WrapGroundScroll(1e13 + 1.0), 1.0);  // 4e12 tiles at once
}
