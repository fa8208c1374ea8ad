// Minimal 24-bit BMP files for texture tests (file header, 40-byte info header, rows bottom-up
// padded to 4 bytes).
#pragma once

#include <string>

struct Rgb {
  unsigned char r, g, b;
};

// Pixel (x, y) of a test picture, y counted from the bottom row.
using PixelFunction = Rgb (*)(int x, int y);

bool WriteBmp24(const std::string& path, int width, int height, PixelFunction pixel);
// A picture of one colour.
bool WriteUniformBmp24(const std::string& path, int width, int height, Rgb colour);
