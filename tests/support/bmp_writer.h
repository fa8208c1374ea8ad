// 24-bit BMP files for texture tests: file header, 40-byte info header, rows bottom-up padded to 4.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

struct Rgb {
  unsigned char r, g, b;
};

// Pixel (x, y) of a test picture, y counted from the bottom row; null paints every pixel `fill`.
using PixelFunction = Rgb (*)(int x, int y);

inline bool WriteBmp24(const std::string& path, int width, int height, PixelFunction pixel, Rgb fill = {}) {
  const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u, w = width, h = height;
  std::vector<unsigned char> out = {'B', 'M'};
  for (uint32_t v : {54 + rowBytes * h, 0u, 54u, 40u, w, h, 1u | 24u << 16, 0u, rowBytes * h, 2835u, 2835u, 0u, 0u})
    out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
  for (int i = 0; i < width * height; ++i) {
    const Rgb c = pixel != nullptr ? pixel(i % width, i / width) : fill;
    out.insert(out.end(), {c.b, c.g, c.r});
    if (i % width == width - 1) out.resize(out.size() + rowBytes - width * 3, 0);  // row padding
  }
  std::ofstream file(path, std::ios::binary);
  return static_cast<bool>(file.write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size())));
}
