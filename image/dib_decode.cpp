// Uncompressed pixel formats of bitmap files, decoded row by row into packed R,G,B.
// Each format has its own tight loop; the choice of loop is made once per image.
#include "image/dib_decode.h"

#include <cstring>

#include "image/dib_rle.h"

namespace {

// Calls decodeRow(source row, destination row) for every row, mapping the file's row order to
// the bottom-row-first result.
template <typename DecodeRow>
void ForEachRow(const DibImageLayout& layout, const DibGeometry& g, uint8_t* rgb,
                DecodeRow decodeRow) {
  const uint64_t outStride = static_cast<uint64_t>(g.width) * 3;
  for (int32_t r = 0; r < g.rows; ++r) {
    int32_t sourceRow = g.topDown ? g.rows - 1 - r : r;
    decodeRow(layout.pixels.data + static_cast<uint64_t>(sourceRow) * g.stride,
              rgb + static_cast<uint64_t>(r) * outStride);
  }
}

inline void PutColor(uint8_t* out, const uint8_t* rgb) {
  out[0] = rgb[0];
  out[1] = rgb[1];
  out[2] = rgb[2];
}

void DecodeIndexed1(const DibImageLayout& layout, const DibGeometry& g, const DibPalette& p,
                    uint8_t* rgb) {
  const int32_t width = g.width;
  ForEachRow(layout, g, rgb, [&](const uint8_t* src, uint8_t* out) {
    for (int32_t x = 0; x < width; x += 8) {
      uint32_t bits = *src++;
      int32_t count = width - x < 8 ? width - x : 8;
      for (int32_t i = 0; i < count; ++i) {
        PutColor(out, p.rgb + 3 * ((bits >> (7 - i)) & 1u));
        out += 3;
      }
    }
  });
}

void DecodeIndexed4(const DibImageLayout& layout, const DibGeometry& g, const DibPalette& p,
                    uint8_t* rgb) {
  const int32_t pairs = g.width / 2;
  const bool odd = (g.width & 1) != 0;
  ForEachRow(layout, g, rgb, [&](const uint8_t* src, uint8_t* out) {
    for (int32_t i = 0; i < pairs; ++i) {
      uint32_t byte = src[i];
      PutColor(out, p.rgb + 3 * (byte >> 4));
      PutColor(out + 3, p.rgb + 3 * (byte & 15u));
      out += 6;
    }
    if (odd) PutColor(out, p.rgb + 3 * (src[pairs] >> 4));
  });
}

void DecodeIndexed8(const DibImageLayout& layout, const DibGeometry& g, const DibPalette& p,
                    uint8_t* rgb) {
  const int32_t width = g.width;
  ForEachRow(layout, g, rgb, [&](const uint8_t* src, uint8_t* out) {
    for (int32_t x = 0; x < width; ++x) {
      PutColor(out, p.rgb + 3 * src[x]);
      out += 3;
    }
  });
}

// 24-bit B,G,R and 32-bit B,G,R,unused pixels.
template <int kSourceBytes>
void DecodeBgr(const DibImageLayout& layout, const DibGeometry& g, uint8_t* rgb) {
  const int32_t width = g.width;
  ForEachRow(layout, g, rgb, [&](const uint8_t* src, uint8_t* out) {
    for (int32_t x = 0; x < width; ++x) {
      out[0] = src[2];
      out[1] = src[1];
      out[2] = src[0];
      src += kSourceBytes;
      out += 3;
    }
  });
}

template <int kBytes>
void DecodeMasked(const DibImageLayout& layout, const DibGeometry& g, uint8_t* rgb) {
  DibChannel red, green, blue;
  BuildDibChannel(layout.masks[0], &red);
  BuildDibChannel(layout.masks[1], &green);
  BuildDibChannel(layout.masks[2], &blue);
  const int32_t width = g.width;
  ForEachRow(layout, g, rgb, [&](const uint8_t* src, uint8_t* out) {
    for (int32_t x = 0; x < width; ++x) {
      uint32_t v = static_cast<uint32_t>(src[0]) | (static_cast<uint32_t>(src[1]) << 8);
      if constexpr (kBytes == 4) {
        v |= (static_cast<uint32_t>(src[2]) << 16) | (static_cast<uint32_t>(src[3]) << 24);
      }
      out[0] = red.scale[(v & red.mask) >> red.shift];
      out[1] = green.scale[(v & green.mask) >> green.shift];
      out[2] = blue.scale[(v & blue.mask) >> blue.shift];
      src += kBytes;
      out += 3;
    }
  });
}

}  // namespace

void BuildDibPalette(const DibImageLayout& layout, DibPalette* out) {
  for (int i = 0; i < kDibMaxColorEntries; ++i) {
    const DibColorEntry& c = layout.colors[i];
    out->rgb[3 * i] = c.red;
    out->rgb[3 * i + 1] = c.green;
    out->rgb[3 * i + 2] = c.blue;
  }
}

void BuildDibChannel(uint32_t mask, DibChannel* out) {
  std::memset(out, 0, sizeof *out);
  out->mask = mask;
  if (mask == 0) return;
  uint32_t low = static_cast<uint32_t>(__builtin_ctz(mask));
  uint32_t bits = static_cast<uint32_t>(__builtin_popcount(mask));
  uint32_t dropped = bits > 8 ? bits - 8 : 0;
  out->shift = low + dropped;
  // Narrow channels repeat their bits downwards (5 bits abcde become abcdeabc), so that 0 and the
  // channel's maximum map to 0 and 255 and the steps between stay even.
  int kept = static_cast<int>(bits - dropped);
  for (uint32_t v = 0; v < (1u << kept); ++v) {
    uint32_t wide = 0;
    for (int at = 8 - kept; at > -kept; at -= kept) wide |= at >= 0 ? v << at : v >> -at;
    out->scale[v] = static_cast<uint8_t>(wide);
  }
}

void DecodeDibPixels(const DibImageLayout& layout, const DibGeometry& geometry, uint8_t* rgb) {
  const DibInfoHeader& h = layout.header;
  DibPalette palette;
  if (h.bitCount <= 8) BuildDibPalette(layout, &palette);

  if (h.compression == kDibCompressionRle8 || h.compression == kDibCompressionRle4) {
    DecodeDibRunLength(layout.pixels, h.bitCount, palette, geometry.width, geometry.rows, rgb);
    return;
  }
  switch (h.bitCount) {
    case 1:
      DecodeIndexed1(layout, geometry, palette, rgb);
      return;
    case 4:
      DecodeIndexed4(layout, geometry, palette, rgb);
      return;
    case 8:
      DecodeIndexed8(layout, geometry, palette, rgb);
      return;
    case 16:
      DecodeMasked<2>(layout, geometry, rgb);
      return;
    case 24:
      DecodeBgr<3>(layout, geometry, rgb);
      return;
    case 32:
      if (h.compression == kDibCompressionNone) {
        DecodeBgr<4>(layout, geometry, rgb);
      } else {
        DecodeMasked<4>(layout, geometry, rgb);
      }
      return;
    default:
      // Unreachable after CheckDibGeometry; black rather than uninitialised memory if it were.
      std::memset(rgb, 0, static_cast<uint64_t>(geometry.width) * geometry.rows * 3);
      return;
  }
}
