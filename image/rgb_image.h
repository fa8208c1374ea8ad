// The decoded picture handed from the image loader to the texture code: packed 8-bit R,G,B,
// bottom row first, 3 * width bytes per row with no row padding.
#pragma once

#include <cstdint>

// The record and its pixel block are separate malloc'd blocks; the receiver frees both with free.
struct RgbImage {
  int32_t width;
  int32_t height;
  unsigned char* data;
};
