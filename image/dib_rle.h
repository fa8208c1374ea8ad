// Decoding of run-length encoded 8-bit and 4-bit bitmap data into packed R,G,B rows, bottom row
// first. Rules for streams that do not fit the image:
//   - pixels the stream never sets (skipped by a delta, left by an early end of line or end of
//     bitmap, or after the stream ends early) are black;
//   - pixels past the right end of a row are dropped; they never wrap into the next row;
//   - a move past the last row, or a command the stream holds only in part, ends decoding;
//   - an index past the colour table gives black (see DibPalette).
#pragma once

#include <cstdint>

#include "image/byte_view.h"
#include "image/dib_decode.h"

// bitCount is 8 (run-length 8) or 4 (run-length 4); rgb receives width * rows * 3 bytes.
void DecodeDibRunLength(ByteView stream, uint16_t bitCount, const DibPalette& palette,
                        int32_t width, int32_t rows, uint8_t* rgb);
