// How far a long run is, on one line of standard error that rewrites itself: frame i of N, the time
// since the start, frames per second and the time left. Only a terminal gets it; when standard
// error is a pipe or a file nothing at all is written, so logs and scripts see the reports alone.
#pragma once

#include <chrono>

class ProgressLine {
 public:
  // `total` frames to come; decides once whether standard error is a terminal.
  explicit ProgressLine(int total);
  ~ProgressLine() { Clear(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // `done` frames are finished. Redraws a few times a second at most, and for the last frame.
  void Update(int done);
  // Erases the line, so that other text written to the terminal starts at the left margin; the
  // next Update draws it again.
  void Clear();

 private:
  using Clock = std::chrono::steady_clock;
  int total;
  bool terminal;
  bool shown = false;
  Clock::time_point start;
  Clock::time_point lastDrawn;
};
