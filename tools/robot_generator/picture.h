// A picture being painted: 8-bit RGB pixels, optionally also palette indices with their palette
// (the palette encodings of the BMP writer need those). Row 0 is the top row of the picture.
// The pixel memory is allocated once at construction and never grows.
#pragma once
#include <cstdint>

namespace robogen {

struct Rgb {
  uint8_t r = 0;
  uint8_t g = 0;
  uint8_t b = 0;
};

bool operator==(const Rgb& a, const Rgb& b);
uint8_t ToByte(double value);  // clamps to 0..255 and rounds
Rgb MixRgb(Rgb a, Rgb b, double t);
Rgb ScaleRgb(Rgb c, double factor);

class Picture {
 public:
  static constexpr int kMaxSide = 1024;
  static constexpr int kMaxPalette = 256;

  // A size outside 1..kMaxSide, or no memory for it, gives an empty picture (width and height 0).
  Picture(int width, int height);
  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  int Width() const { return width; }
  int Height() const { return height; }

  // Out-of-range coordinates are ignored on writing and read as black / index 0.
  void SetRgb(int x, int y, Rgb c);
  Rgb GetRgb(int x, int y) const;

  // Makes the picture indexed. Indices set later paint their palette colour into the RGB pixels.
  void SetPalette(const Rgb* colours, int count);
  bool IsIndexed() const { return paletteSize > 0; }
  int PaletteSize() const { return paletteSize; }
  Rgb PaletteEntry(int i) const;
  // An index outside the palette is clamped into it.
  void SetIndex(int x, int y, int index);
  int GetIndex(int x, int y) const;

 private:
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

  int width = 0;
  int height = 0;
  uint8_t* rgb = nullptr;
  uint8_t* indices = nullptr;
  Rgb palette[kMaxPalette];
  int paletteSize = 0;
};

}  // namespace robogen
