// The millisecond clock shared by the frame, the rig and the speed control.
// Readings are reduced to unsigned 32 bits and wrap at 2^32; the origin is arbitrary.
// Tests replace the source so that time can be set and stepped.
#pragma once
#include <cstdint>

uint32_t timeGetTime();

using ClockSource = uint32_t (*)();
// Null restores the monotonic system clock.
void SetClockSource(ClockSource source);
