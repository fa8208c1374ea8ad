// Run-length decoding for 8-bit and 4-bit bitmaps (rules in dib_rle.h). The stream is a series
// of two-byte commands: a non-zero count repeats a colour (for 4 bits, two alternating colours),
// and a zero count escapes to end of line (0), end of bitmap (1), a delta move (2, then dx, dy)
// or a literal run of that many pixels padded to an even byte count (3 and more).
#include "image/dib_rle.h"

#include <cstring>

namespace {

struct RunLengthCursor {
  int32_t width;
  int32_t rows;
  int32_t x = 0;
  int32_t y = 0;
  uint8_t* rgb;

  // Where the next pixel goes and how many pixels of a run of count still fit in the row.
  int32_t Fit(int32_t count) const {
    int32_t room = width - x;
    return count < room ? count : room;
  }
  uint8_t* At() const {
    return rgb + (static_cast<uint64_t>(y) * static_cast<uint64_t>(width) +
                  static_cast<uint64_t>(x)) * 3;
  }
  // Advances x by count, staying at the right edge once it is reached.
  void Advance(int32_t count) { x = count < width - x ? x + count : width; }
};

inline void PutColor(uint8_t* out, const uint8_t* rgb) {
  out[0] = rgb[0];
  out[1] = rgb[1];
  out[2] = rgb[2];
}

}  // namespace

void DecodeDibRunLength(ByteView stream, uint16_t bitCount, const DibPalette& palette,
                        int32_t width, int32_t rows, uint8_t* rgb) {
  std::memset(rgb, 0, static_cast<uint64_t>(width) * static_cast<uint64_t>(rows) * 3);
  const uint8_t* s = stream.data;
  const size_t size = stream.size;
  const bool nibbles = bitCount == 4;
  const uint8_t* colors = palette.rgb;
  RunLengthCursor c{width, rows, 0, 0, rgb};
  size_t pos = 0;

  while (pos + 2 <= size && c.y < rows) {
    int32_t count = s[pos];
    uint32_t value = s[pos + 1];
    pos += 2;
    if (count > 0) {
      int32_t n = c.Fit(count);
      uint8_t* out = c.At();
      if (nibbles) {
        const uint8_t* pair[2] = {colors + 3 * (value >> 4), colors + 3 * (value & 15u)};
        for (int32_t i = 0; i < n; ++i, out += 3) PutColor(out, pair[i & 1]);
      } else {
        const uint8_t* color = colors + 3 * value;
        for (int32_t i = 0; i < n; ++i, out += 3) PutColor(out, color);
      }
      c.Advance(count);
      continue;
    }
    if (value == 0) {  // end of line
      c.x = 0;
      ++c.y;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // delta: move right and up (towards later rows)
      if (pos + 2 > size) break;
      c.Advance(s[pos]);
      c.y += s[pos + 1];
      pos += 2;
    } else {  // literal run of `value` pixels
      int32_t literal = static_cast<int32_t>(value);
      size_t bytes = nibbles ? (value + 1) / 2 : value;
      if (bytes > size - pos) break;
      const uint8_t* src = s + pos;
      int32_t n = c.Fit(literal);
      uint8_t* out = c.At();
      if (nibbles) {
        for (int32_t i = 0; i < n; ++i, out += 3) {
          uint32_t byte = src[i >> 1];
          PutColor(out, colors + 3 * ((i & 1) ? (byte & 15u) : (byte >> 4)));
        }
      } else {
        for (int32_t i = 0; i < n; ++i, out += 3) PutColor(out, colors + 3 * src[i]);
      }
      c.Advance(literal);
      pos += bytes + (bytes & 1);
    }
  }
}
