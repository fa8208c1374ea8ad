// The scroll of the ground under the robot: one unit per walking period, folded back into one
// ground texture tile (2.5 units) so the jump is invisible.
#pragma once

#include <cstdint>

constexpr double GroundScrollWrap = 2.5;

// Folds a scroll value into the range above 0.0 up to and including 2.5 by whole tiles: 0.0 stays
// 0.0, 2.5 stays 2.5, 5.0 becomes 2.5. Constant time, however large the value.
double WrapGroundScroll(double scroll);

// The scroll after `delta` ms at `period` ms per unit, wrapped. A period of 0 does not scroll.
double AdvanceGroundScroll(double scroll, uint32_t delta, uint32_t period);
