#include "tools/headless/progress_line.h"

#include <unistd.h>

#include <cstdio>

namespace {

// Redrawing on every frame of a fast run would cost more than the frames.
constexpr std::chrono::milliseconds RedrawEvery{200};

// "m:ss", or "h:mm:ss" from an hour on.
void FormatDuration(double seconds, char* text, size_t size) {
  const long whole = seconds < 0 ? 0 : static_cast<long>(seconds + 0.5);
  if (whole >= 3600) std::snprintf(text, size, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
  else std::snprintf(text, size, "%ld:%02ld", whole / 60, whole % 60);
}

}  // namespace

ProgressLine::ProgressLine(int total) : total(total), terminal(isatty(STDERR_FILENO) == 1), start(Clock::now()) {}

void ProgressLine::Update(int done) {
  if (!terminal) return;
  const Clock::time_point now = Clock::now();
  if (shown && done < total && now - lastDrawn < RedrawEvery) return;
  lastDrawn = now;
  const double elapsed = std::chrono::duration<double>(now - start).count();
  const double rate = elapsed > 0.0 ? done / elapsed : 0.0;
  char since[48], left[48];
  FormatDuration(elapsed, since, sizeof since);
  FormatDuration(rate > 0.0 ? (total - done) / rate : 0.0, left, sizeof left);
  // \033[K clears what a longer earlier line left to the right.
  std::fprintf(stderr, "\rframe %d of %d, %s elapsed, %.1f frames/s, %s left\033[K", done, total, since, rate, left);
  std::fflush(stderr);
  shown = true;
}

void ProgressLine::Clear() {
  if (!shown) return;
  std::fputs("\r\033[K", stderr);
  std::fflush(stderr);
  shown = false;
}
