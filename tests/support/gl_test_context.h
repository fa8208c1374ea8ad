// The real OpenGL context of the tests: one offscreen 64 x 64 context, created on first use and
// kept for the whole test run (GL objects of the global tables live in it).
#pragma once

constexpr int TestSurfaceSize = 64;

// Makes the shared context current; false (with the reason on stderr) when none can be created.
bool UseTestGlContext();
