// A video of the frames made by ffmpeg: raw RGB frames written to its standard input, padded to an
// even width and height (H.264 in the common yuv420p layout needs both even), at a rate that plays
// the walk at its own speed. ffmpeg is looked for on PATH; the container and codec are what it
// picks from the file name (.mp4: H.264). This only starts ffmpeg, feeds it and waits for it.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>

#include "tools/frame_files/frame_image.h"

// Whether `program` is an executable file in one of PATH's directories.
bool FindOnPath(const char* program);

class VideoPipe {
 public:
  VideoPipe() = default;
  ~VideoPipe();  // an open pipe is closed and ffmpeg waited for
  VideoPipe(const VideoPipe&) = delete;
  VideoPipe& operator=(const VideoPipe&) = delete;

  // Starts ffmpeg writing `path` from width x height frames, one per `stepMs` of the walk (15 a
  // second when the clock does not move). On failure returns false with a one-line reason in
  // `error` (size `errorSize`), as do the others.
  bool Open(const char* path, int width, int height, uint32_t stepMs, char* error, size_t errorSize);
  // Hands ffmpeg one frame of the size given to Open.
  bool Write(const FrameImage& image, char* error, size_t errorSize);
  // Ends the input and waits for ffmpeg to finish the file; false when it did not succeed.
  bool Close(char* error, size_t errorSize);

 private:
  pid_t child = -1;
  int input = -1;  // the write end of ffmpeg's standard input
};
