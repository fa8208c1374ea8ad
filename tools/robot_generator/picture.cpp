// Pixel storage for the procedural textures.
#include "tools/robot_generator/picture.h"

#include <cstring>
#include <new>

namespace robogen {

bool operator==(const Rgb& a, const Rgb& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

uint8_t ToByte(double value) {
  if (!(value > 0.0)) return 0;  // also catches NaN
  if (value >= 255.0) return 255;
  return static_cast<uint8_t>(value + 0.5);
}

Rgb MixRgb(Rgb a, Rgb b, double t) {
  return {ToByte(a.r + (b.r - a.r) * t), ToByte(a.g + (b.g - a.g) * t),
          ToByte(a.b + (b.b - a.b) * t)};
}

Rgb ScaleRgb(Rgb c, double factor) {
  return {ToByte(c.r * factor), ToByte(c.g * factor), ToByte(c.b * factor)};
}

Picture::Picture(int w, int h) {
  if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide) return;
  size_t pixels = static_cast<size_t>(w) * static_cast<size_t>(h);
  rgb = new (std::nothrow) uint8_t[pixels * 3];
  indices = new (std::nothrow) uint8_t[pixels];
  if (rgb == nullptr || indices == nullptr) return;  // stays an empty picture, which nothing writes
  width = w;
  height = h;
  std::memset(rgb, 0, pixels * 3);
  std::memset(indices, 0, pixels);
}

Picture::~Picture() {
  delete[] rgb;
  delete[] indices;
}

void Picture::SetRgb(int x, int y, Rgb c) {
  if (!Inside(x, y)) return;
  uint8_t* p = rgb + (static_cast<size_t>(y) * width + x) * 3;
  p[0] = c.r;
  p[1] = c.g;
  p[2] = c.b;
}

Rgb Picture::GetRgb(int x, int y) const {
  if (!Inside(x, y)) return Rgb{};
  const uint8_t* p = rgb + (static_cast<size_t>(y) * width + x) * 3;
  return Rgb{p[0], p[1], p[2]};
}

void Picture::SetPalette(const Rgb* colours, int count) {
  if (count < 1) return;
  if (count > kMaxPalette) count = kMaxPalette;
  for (int i = 0; i < count; ++i) palette[i] = colours[i];
  paletteSize = count;
}

Rgb Picture::PaletteEntry(int i) const {
  if (i < 0 || i >= paletteSize) return Rgb{};
  return palette[i];
}

void Picture::SetIndex(int x, int y, int index) {
  if (!Inside(x, y) || paletteSize == 0) return;
  if (index < 0) index = 0;
  if (index >= paletteSize) index = paletteSize - 1;
  indices[static_cast<size_t>(y) * width + x] = static_cast<uint8_t>(index);
  SetRgb(x, y, palette[index]);
}

int Picture::GetIndex(int x, int y) const {
  if (!Inside(x, y)) return 0;
  return indices[static_cast<size_t>(y) * width + x];
}

}  // namespace robogen
