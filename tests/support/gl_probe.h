// Observing real OpenGL output in tests: pixels read back from the current surface, vertices
// captured in feedback mode, and a lighting set-up under which a lit pixel shows its material
// colour unchanged.
#pragma once

#include <functional>
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

// Window coordinates of every line and polygon vertex that `draw` sends, in feedback mode.
struct FeedbackVertex {
  float x, y, z;
};
struct FeedbackCapture {
  std::vector<FeedbackVertex> vertices;
  int lines = 0;
  int polygons = 0;
};
FeedbackCapture CaptureFeedback(const std::function<void()>& draw);
