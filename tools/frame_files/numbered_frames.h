// The numbered frame files of an output directory, "image000.ppm", "image001.png", ... (at least
// three digits, as the viewer names its own): their names, the ones an earlier run left, and
// their removal. Other files in the directory are never touched.
#pragma once

#include <cstddef>
#include <string>

#include "tools/headless/headless_options.h"

// "DIRECTORY/imageNNN.ppm" (or .png) for frame `number`.
std::string NumberedFrameName(const std::string& directory, int number, FrameFormat format);

// The numbered frames in a directory other than the first `written` of `format`: what an earlier
// run left beside this one's.
struct OlderFrames {
  int count = 0;
  std::string first;  // the lowest- and highest-numbered of them
  std::string last;
};
OlderFrames FindOlderFrames(const std::string& directory, int written, FrameFormat format);

// Removes every numbered frame of either format from the directory. Returns false with the reason
// in `error` (size `errorSize`) when one could not be removed.
bool RemoveNumberedFrames(const std::string& directory, char* error, size_t errorSize);
