// The arithmetic of a part's periodic motion, free of OpenGL: bringing a part's cycle start up to
// the current time stamp, and the triangle-wave factor (0 at the start of a cycle, 1 in its middle,
// 0 at its end).
#pragma once

#include <cstdint>

// Time stamps and start times wrap at 2^32 ms, so the time since the cycle start is taken as the
// signed 32-bit difference t - startTime. When it exceeds the period, the start moves forward by
// whole periods until the elapsed time is within (0, period]. When it is negative (the time base
// went back, e.g. the manual clock had run ahead of the system clock), the start moves back by whole
// periods, keeping the phase, until the elapsed time is within [0, period). Constant time, however
// large the gap. Returns the new start time and stores the elapsed time in *elapsed (0..period).
uint32_t CatchUpStartTime(uint32_t startTime, uint32_t t, uint32_t period, int64_t* elapsed);

// The factor at `elapsed` ms into a cycle of `period` ms (period > 0): rising to the integer half
// period, falling after it; computed in double precision, delivered in single precision.
float TriangleWaveFactor(int64_t elapsed, uint32_t period);
