// A real OpenGL context for tests: offscreen contexts of a few sizes, created on first use and kept
// for the whole test run (creating one costs far more than a test should).
#pragma once

class OffscreenContext;

// Makes current, and returns, the shared context of the given size; null (with the reason printed
// to stderr once) when no context can be created. Up to four sizes are kept.
OffscreenContext* UseTestGlContext(int width, int height);
