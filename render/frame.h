// One display pass: the frame's time stamp (system clock, or the manual clock that advances 66 ms
// per pass and saves each frame), the ground scroll, the camera and light, the ground, the sky and
// the robot, then the buffer swap.
#pragma once

#include <cstdint>

constexpr uint32_t ManualClockStep = 66;  // ms per pass in manual mode

// Time stamp of the previous pass (valid once the first pass has run).
extern uint32_t lastFrameTime;
// Displacement of the ground along +y, kept within 0.0..2.5.
extern double groundScroll;

// The display callback.
void DisplayFrame();

// The frame's clock: lastFrameTime becomes `now` (on the first pass without any elapsed time) and
// the ground scrolls on by the time elapsed since the pass before. For DisplayFrame and for other
// drawings of the same pass (the per-triangle reference stream).
void AdvanceFrameClock(uint32_t now);

// The pass around the robot, for DisplayFrame and for other drawings of the same frame (the
// benchmark's reference, the tests' literal stream): BeginScene clears, places the camera and the
// light and draws the scrolled ground and the sky, leaving the camera transform pushed for the
// robot; EndScene pops it and flushes.
void BeginScene();
void EndScene();
