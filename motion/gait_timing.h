// The arithmetic of a speed change, free of OpenGL and of the part table: the phase of the gait and
// the periods and start times that continue it at a new cycle length.
#pragma once

#include <cstdint>

// The fraction of its cycle that a part has run at `now`: the wrapping difference now - startTime
// over the period, in single precision. A part without a period (not yet rigged) is at phase 0.
float GaitPhase(uint32_t now, uint32_t startTime, uint32_t period);

// Truncates toward zero and keeps the low 32 bits of the integer, as a conversion to a 64-bit
// integer would, but also for values beyond that range (any finite x; non-finite gives 0).
uint32_t TruncateToLow32(double x);

struct GaitTiming {
  uint32_t rootPeriod;  // part 4
  uint32_t rootStartTime;
  uint32_t limbPeriod;  // parts 5, 6, 0 and 2
  uint32_t trailingStartTime;  // parts 5 and 0, half a cycle behind
  uint32_t leadingStartTime;  // parts 6 and 2
};

// Periods and start times for the new cycle length S at `now`, given the phase p of part 6.
GaitTiming ComputeGaitTiming(uint32_t newPeriod, uint32_t now, float phase);
