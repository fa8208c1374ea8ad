// 24-bit BMP files for texture tests: file header, 40-byte info header, rows bottom-up padded to 4.
#pragma once

#include <string>

struct Rgb {
  unsigned char r, g, b;
};

// Pixel (x, y) of a test picture, y counted from the bottom row; null paints every pixel `fill`.
using PixelFunction = Rgb (*)(int x, int y);

bool WriteBmp24(const std::string& path, int width, int height, PixelFunction pixel, Rgb fill = {});
