// The headers of a bitmap file: detection of the optional 14-byte file header, the colour count,
// normalisation of the 12-byte core and 40-byte info headers to the info form, the colour table,
// the bit-field masks and the position of the pixel data. Nothing here decodes pixels.
#pragma once

#include <cstdint>

#include "image/byte_view.h"
#include "image/dib_status.h"

constexpr uint32_t kDibFileHeaderSize = 14;
constexpr uint32_t kDibCoreHeaderSize = 12;
constexpr uint32_t kDibInfoHeaderSize = 40;
constexpr uint32_t kDibMaskBytes = 12;
constexpr int kDibMaxColorEntries = 256;

enum DibCompression : uint32_t {
  kDibCompressionNone = 0,
  kDibCompressionRle8 = 1,
  kDibCompressionRle4 = 2,
  kDibCompressionBitFields = 3,
};

// The 40-byte info header, the one form the rest of the loader works with.
struct DibInfoHeader {
  uint32_t size;
  int32_t width;
  int32_t height;
  uint16_t planes;
  uint16_t bitCount;
  uint32_t compression;
  uint32_t sizeImage;
  int32_t xPelsPerMeter;
  int32_t yPelsPerMeter;
  uint32_t clrUsed;
  uint32_t clrImportant;
};

struct DibColorEntry {
  uint8_t blue;
  uint8_t green;
  uint8_t red;
  uint8_t reserved;
};

// What the pixel conversion needs from a file, read and bounds-checked once.
struct DibImageLayout {
  DibInfoHeader header;
  // Colour table entries read from the file; the rest of `colors` is zero (black), so that any
  // 8-bit index can be looked up without a check.
  uint32_t colorCount;
  DibColorEntry colors[kDibMaxColorEntries];
  // Red, green and blue masks: from the file for bit fields, otherwise the fixed layout of the
  // depth (5-5-5 for 16 bits, 8-8-8 for 32 bits), zero for the other depths.
  uint32_t masks[3];
  // From the first pixel byte to the end of the file; for run-length data, also no longer than
  // the image size field when that is non-zero.
  ByteView pixels;
};

// The colour count of a bitmap header: for the info form a non-zero colours-used field (its low
// 16 bits), otherwise 2, 16 or 256 for 1, 4 or 8 bits per pixel and 0 for any other depth.
// The header must hold at least its first 16 (core) or 36 (info) bytes; missing fields read as 0.
uint16_t DibColorCount(ByteView bitmapHeader);

// The entries the colour table really occupies: colorCount, but no more than 2^bits for depths up
// to 8 bits per pixel (larger counts cannot be indexed and would run past the table's capacity).
uint32_t DibTableEntries(uint16_t colorCount, uint16_t bitCount);

// Fills the info form from a core (12) or info (40) header. The image size, when 0, becomes the
// unpadded byte count ((width * bits + 7) / 8) * height in 32-bit unsigned arithmetic, and a zero
// colours-used field becomes colorCount. kUnknownFormat for any other header size, and
// kHeaderCutShort when the header is cut short.
DibStatus NormaliseDibHeader(ByteView bitmapHeader, uint16_t colorCount, DibInfoHeader* out);

// True for a mask whose set bits form one run (or no bit at all).
bool DibMaskIsContiguous(uint32_t mask);

// Reads the headers, colour table and masks of a whole file and locates its pixel data.
// Every byte it reads lies inside the file; a mask set, colour table or pixel offset that the file
// does not hold gives kMasksCutShort, kColourTableCutShort or kPixelsBeyondFile, a mask with a gap
// kMaskNotContiguous. Image sizes and formats are checked later (dib_geometry.h).
DibStatus ReadDibLayout(ByteView file, DibImageLayout* out);
