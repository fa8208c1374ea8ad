// Observing real OpenGL output in tests: pixels read back from the current surface, and a lighting
// set-up under which a lit pixel shows its material colour unchanged.
#pragma once

#include <vector>

#include "support/bmp_writer.h"
#include "support/gl_test_context.h"

// Lighting on, light 0 off, ambient light (1, 1, 1): a pixel is exactly its material colour
// (times the texture where one is on). Identity matrices, full viewport, no depth test.
void UseFlatColourLighting();

// The pixel at window (x, y), y counted from the bottom.
Rgb PixelAt(int x, int y);
// The whole surface, RGB, bottom row first.
std::vector<unsigned char> ReadSurface();
// Whether the channels match within tolerance.
bool Near(Rgb actual, Rgb expected, int tolerance);
