// Ground scroll arithmetic.
#include "render/ground_scroll.h"

#include <cmath>

double WrapGroundScroll(double scroll) {
  if (!(scroll > GroundScrollWrap)) return scroll;
  // fmod is exact, and so is every subtraction of 2.5 from the scroll values that can arise, so the
  // remainder is what subtracting 2.5 one tile at a time would leave, except that a whole number
  // of tiles stops at 2.5, not 0.0.
  const double rest = std::fmod(scroll, GroundScrollWrap);
  return rest == 0.0 ? GroundScrollWrap : rest;
}

double AdvanceGroundScroll(double scroll, uint32_t delta, uint32_t period) {
  if (period == 0) return scroll;
  return WrapGroundScroll(scroll + static_cast<double>(delta) / static_cast<double>(period));
}
