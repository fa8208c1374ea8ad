// PNG files through libpng: 8-bit RGB, not interlaced, libpng's default compression and filters.
// It only writes, and only whole files: on a failure the partial file is removed. It knows nothing
// of OpenGL or of frame numbers.
#pragma once

#include <cstddef>

// Writes `rgb` (height rows of width * 3 bytes, the top row first) to `path`. On failure returns
// false with a one-line reason in `error` (size `errorSize`).
bool WritePngFile(const char* path, int width, int height, const unsigned char* rgb, char* error, size_t errorSize);
