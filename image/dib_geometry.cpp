// Size arithmetic and acceptance rules for bitmap pixel data (see dib_geometry.h).
#include "image/dib_geometry.h"

uint64_t DibRowBytes(uint64_t width, uint64_t bitCount) { return (width * bitCount + 7) / 8; }

uint64_t DibRowStride(uint64_t width, uint64_t bitCount) {
  return (width * bitCount + 31) / 32 * 4;
}

bool DibFormatSupported(uint16_t bitCount, uint32_t compression) {
  switch (compression) {
    case kDibCompressionNone:
      return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
             bitCount == 32;
    case kDibCompressionRle8:
      return bitCount == 8;
    case kDibCompressionRle4:
      return bitCount == 4;
    case kDibCompressionBitFields:
      return bitCount == 16 || bitCount == 32;
    default:
      return false;
  }
}

DibStatus CheckDibGeometry(const DibInfoHeader& header, uint64_t pixelBytes, DibGeometry* out) {
  if (!DibFormatSupported(header.bitCount, header.compression)) return DibStatus::kUnsupportedFormat;
  int64_t width = header.width;
  int64_t height = header.height;
  int64_t rows = height < 0 ? -height : height;
  if (width <= 0 || rows == 0) return DibStatus::kUnsupportedSize;
  if (width > kDibMaxSide || rows > kDibMaxSide || width * rows > kDibMaxPixels) {
    return DibStatus::kUnsupportedSize;
  }
  bool runLength = header.compression == kDibCompressionRle8 ||
                   header.compression == kDibCompressionRle4;
  // Run-length data is defined bottom-up only.
  if (runLength && height < 0) return DibStatus::kTopDownRunLength;

  DibGeometry& g = *out;
  g.width = static_cast<int32_t>(width);
  g.rows = static_cast<int32_t>(rows);
  g.topDown = height < 0;
  g.rowBytes = DibRowBytes(static_cast<uint64_t>(width), header.bitCount);
  g.stride = DibRowStride(static_cast<uint64_t>(width), header.bitCount);
  if (!runLength) {
    uint64_t needed = g.stride * static_cast<uint64_t>(rows - 1) + g.rowBytes;
    if (needed > pixelBytes) return DibStatus::kPixelsCutShort;
  }
  return DibStatus::kOk;
}
