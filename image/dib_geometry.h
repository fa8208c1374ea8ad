// Size arithmetic and acceptance rules for a bitmap's pixel data: which depth and compression
// pairs convert, how large an image may be, and whether the file holds all its pixel rows.
// Plain 64-bit arithmetic on header values, so that no size computation can overflow.
#pragma once

#include <cstdint>

#include "image/dib_header.h"
#include "image/dib_status.h"

// Larger than any texture an OpenGL implementation accepts, and it keeps the pixel block of an
// image (at most kDibMaxPixels * 3 bytes, 192 MiB) affordable even when a tiny run-length file
// claims it.
constexpr int64_t kDibMaxSide = 16384;
constexpr int64_t kDibMaxPixels = int64_t{1} << 26;

struct DibGeometry {
  int32_t width;
  int32_t rows;     // always positive
  bool topDown;     // the file stores its top row first (negative height)
  uint64_t rowBytes;  // bytes of pixel data in one source row, without padding
  uint64_t stride;    // distance between source rows: rowBytes rounded up to 4
};

// Bytes one row of width pixels of bitCount bits occupies, unpadded and padded to 4 bytes.
uint64_t DibRowBytes(uint64_t width, uint64_t bitCount);
uint64_t DibRowStride(uint64_t width, uint64_t bitCount);

// True for the depth and compression pairs the conversion decodes: 1, 4, 8, 16, 24 and 32 bits
// uncompressed, 8 bits run-length 8, 4 bits run-length 4, 16 and 32 bits with bit fields.
bool DibFormatSupported(uint16_t bitCount, uint32_t compression);

// Accepts a normalised header for conversion, given how many pixel bytes the file holds, and
// fills geometry. kUnsupportedFormat when the format is not supported; kUnsupportedSize when a side
// is zero, the width negative or the image beyond the limits above; kTopDownRunLength for a
// run-length image stored top-down; kPixelsCutShort when the file is too short for the
// uncompressed rows (the last row may omit its padding).
DibStatus CheckDibGeometry(const DibInfoHeader& header, uint64_t pixelBytes, DibGeometry* out);
