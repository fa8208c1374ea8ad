// DecodeDibMemory: reads and checks the headers of a bitmap held in memory, converts its pixels
// into a newly allocated packed R,G,B block and wraps that in an RgbImage. The pixel conversion is
// the loader's own (dib_decode.h); no platform bitmap service is involved.
#include "image/dib_memory.h"

#include <cstdlib>

#include "image/dib_decode.h"
#include "image/dib_geometry.h"
#include "image/dib_header.h"

DibStatus DecodeDibMemory(ByteView file, RgbImage** result) {
  // The layout holds the normalised header and the 256-entry colour table: a fixed-size work area
  // on the stack rather than an allocation that could fail.
  DibImageLayout layout;
  DibStatus status = ReadDibLayout(file, &layout);
  if (status != DibStatus::kOk) return status;
  DibGeometry geometry;
  status = CheckDibGeometry(layout.header, layout.pixels.size, &geometry);
  if (status != DibStatus::kOk) return status;

  uint64_t bytes = static_cast<uint64_t>(geometry.width) * static_cast<uint64_t>(geometry.rows) * 3;
  auto* pixels = static_cast<unsigned char*>(std::malloc(bytes));
  if (pixels == nullptr) return DibStatus::kOutOfMemory;
  DecodeDibPixels(layout, geometry, pixels);

  auto* image = static_cast<RgbImage*>(std::malloc(sizeof(RgbImage)));
  if (image == nullptr) {
    std::free(pixels);
    return DibStatus::kOutOfMemory;
  }
  // A top-down file is delivered in the same bottom-row-first order, so its height is positive.
  image->width = geometry.width;
  image->height = geometry.rows;
  image->data = pixels;
  *result = image;
  return DibStatus::kOk;
}
