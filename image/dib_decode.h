// Conversion of a bitmap's pixel data into packed R,G,B rows, bottom row first, 3 * width bytes
// per row with no padding: 1, 4 and 8 bits through the colour table, 16 and 32 bits through
// channel masks (5-5-5 and 8-8-8 unless the file gives bit fields), 24 bits directly, and the
// two run-length encodings (dib_rle.h).
#pragma once

#include <cstdint>

#include "image/dib_geometry.h"
#include "image/dib_header.h"

// The colour table as R,G,B triples for all 256 possible indices; indices past the file's table
// are black.
struct DibPalette {
  uint8_t rgb[kDibMaxColorEntries * 3];
};
void BuildDibPalette(const DibImageLayout& layout, DibPalette* out);

// One colour channel of a masked (16 or 32 bit) pixel: ((pixel & mask) >> shift) indexes scale,
// which spreads the channel's bits over 0..255 by repeating them. Channels wider than 8 bits keep
// their top 8 bits.
struct DibChannel {
  uint32_t mask;
  uint32_t shift;
  uint8_t scale[256];
};
// The mask must be contiguous (DibMaskIsContiguous); a zero mask gives a channel that is always 0.
void BuildDibChannel(uint32_t mask, DibChannel* out);

// Writes geometry.width * geometry.rows * 3 bytes to rgb. The layout and geometry must have been
// accepted by ReadDibLayout and CheckDibGeometry, which guarantee that every uncompressed row lies
// inside layout.pixels; run-length streams are bounds-checked as they are read.
void DecodeDibPixels(const DibImageLayout& layout, const DibGeometry& geometry, uint8_t* rgb);
