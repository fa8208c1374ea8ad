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
  uint32_t rootPeriod;  // the body (rig.h)
  uint32_t rootStartTime;
  uint32_t limbPeriod;  // the pods and the lower legs
  uint32_t trailingStartTime;  // the right pod and the left lower leg, half a cycle behind
  uint32_t leadingStartTime;  // the left pod and the right lower leg
};

// Periods and start times for the new cycle length S at `now`, given the phase p of the leading
// pod (the left one).
GaitTiming ComputeGaitTiming(uint32_t newPeriod, uint32_t now, float phase);
