// 24-bit BMP writer for tests.
#include "support/bmp_writer.h"

#include <cstdint>
#include <fstream>
#include <vector>

bool WriteBmp24(const std::string& path, int width, int height, PixelFunction pixel, Rgb fill) {
  const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t fields[] = {54 + rowBytes * height, 0, 54, 40, uint32_t(width), uint32_t(height), 1 | (24 << 16), 0,
                             rowBytes * height, 2835, 2835, 0, 0};
  std::vector<unsigned char> out = {'B', 'M'};
  for (uint32_t v : fields) {
    for (int k = 0; k < 4; ++k) out.push_back(static_cast<unsigned char>(v >> (8 * k)));
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixel != nullptr ? pixel(x, y) : fill;
      out.insert(out.end(), {c.b, c.g, c.r});
    }
    out.resize(out.size() + rowBytes - width * 3, 0);
  }
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(file);
}
