// 24-bit BMP writer for tests.
#include "support/bmp_writer.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

void Put16(std::vector<unsigned char>& out, uint32_t v) {
  out.push_back(static_cast<unsigned char>(v));
  out.push_back(static_cast<unsigned char>(v >> 8));
}

void Put32(std::vector<unsigned char>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

Rgb uniformColour{};
Rgb Uniform(int, int) { return uniformColour; }

}  // namespace

bool WriteBmp24(const std::string& path, int width, int height, PixelFunction pixel) {
  const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height);
  std::vector<unsigned char> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + imageBytes);
  Put32(out, 0);
  Put32(out, 54);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, 24);
  Put32(out, 0);
  Put32(out, imageBytes);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixel(x, y);
      out.push_back(c.b);
      out.push_back(c.g);
      out.push_back(c.r);
    }
    for (uint32_t pad = static_cast<uint32_t>(width) * 3; pad < rowBytes; ++pad) out.push_back(0);
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
  return std::fclose(file) == 0 && ok;
}

bool WriteUniformBmp24(const std::string& path, int width, int height, Rgb colour) {
  uniformColour = colour;
  return WriteBmp24(path, width, height, Uniform);
}
