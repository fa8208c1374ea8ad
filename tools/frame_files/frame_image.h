// One drawn frame as the tools hand it on: RGB rows from the top down, read back from the current
// OpenGL context, and written as a binary PPM or a PNG file. Nothing here prints; failures come
// back as one-line reasons.
#pragma once

#include <cstddef>
#include <vector>

#include "tools/headless/headless_options.h"

struct FrameImage {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;  // height rows of width * 3 bytes, the top row first
};

// Waits for the frame to be drawn and reads the whole width x height surface into `image`.
void ReadBackFrame(int width, int height, FrameImage* image);

// Writes the image to `path` in `format`; on failure removes what was written and returns false
// with the reason in `error` (size `errorSize`).
bool WriteFrameFile(const char* path, FrameFormat format, const FrameImage& image, char* error, size_t errorSize);

// ".ppm" or ".png".
const char* FrameFileExtension(FrameFormat format);
