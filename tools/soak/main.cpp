// strivex-soak: a long run of the program's own frame on an offscreen context, with the render mode,
// speed, background and camera changed every few hundred frames through the program's own controls,
// on a fixed clock that advances a fixed step per frame as manual mode does. It reports the
// resident memory, the heap in use and the number of display lists and texture objects at the start
// (after one whole cycle of changes, so every path has run once), in the middle and at the end,
// writes the last frame as a picture, and fails when anything grew.
#include <GL/gl.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/toolkit.h"
#include "render/frame_capture.h"
#include "tools/headless/headless_options.h"
#include "tools/headless/headless_session.h"
#include "tools/headless/progress_line.h"
#include "tools/soak/control_schedule.h"
#include "tools/soak/gl_census.h"
#include "tools/soak/resident_memory.h"

namespace {

// Display lists are renamed when they are rebuilt, so names climb over a long run; the census
// looks far enough up for any run this tool makes and says so when names come near its end.
constexpr uint32_t kCensusNames = 1u << 20;

constexpr uint32_t SoakProgramOptions = (SessionOptions | SoakOptions) & ~OptFrames;

HeadlessOptions SoakDefaults() {
  HeadlessOptions options;
  options.frames = 20000;
  options.width = options.height = 250;
  return options;
}

// Memory is compared between ends of whole cycles of actions, where the program is in the same
// state (mode, speed, background, camera): one cycle to warm up, then at least two to compare.
constexpr int MinimumCycles = 3;

void PrintUsage() {
  const HeadlessOptions defaults = SoakDefaults();
  std::printf(
      "Usage: strivex-soak [options]\n"
      "Draws many frames of the walking robot of De_209.asc and tex/ without a window, applying one\n"
      "user action (render mode, speed, background, orbit drag) every few hundred frames, and reports\n"
      "resident memory, display lists and texture objects at the start, middle and end; exit status 2\n"
      "when anything grew. On a terminal, standard error shows how far the run is.\n"
      "Options:\n");
  char frames[200];
  std::snprintf(frames, sizeof frames,
                "number of frames: at least %d times --every (%d whole cycles of %d actions, one to warm up), at most "
                "1000000 (default %d)",
                MinimumCycles * SoakActionCount, MinimumCycles, SoakActionCount, defaults.frames);
  PrintHelpLine(stdout, "--frames N", frames);
  PrintHeadlessOptionsHelp(stdout, SoakProgramOptions, defaults);
}

struct Sample {
  int frame;
  uint64_t resident;
  uint64_t heap;
  GlCensus census;
};

Sample TakeSample(int frame) { return {frame, ResidentBytes(), HeapInUseBytes(), TakeGlCensus(kCensusNames)}; }

// The viewer's buffer swap hands a finished frame to the window system, so the driver never holds
// more than a frame or two. Offscreen nothing waits for a frame, and the software driver keeps
// queueing frames, each holding its binned triangles (tens of megabytes for the shipped robot),
// until it reaches its own limit; a long run would then measure that queue instead of the
// program. Presenting a frame here therefore means waiting until it is drawn.
void PresentFinishedFrame() { glFinish(); }

double Megabytes(uint64_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

// The progress line is erased first, so that a sample on the same terminal starts a line of its own.
void PrintSample(ProgressLine& progress, const char* label, const Sample& s) {
  progress.Clear();
  if (s.census.highestList > kCensusNames / 10 * 9 || s.census.highestTexture > kCensusNames / 10 * 9) {
    std::printf("warning: GL object names come near %u, the end of the census range\n", kCensusNames);
  }
  std::printf(
      "%-7s frame %6d  resident %7.1f MB  heap in use %7.1f MB  display lists %4d (highest name %u)  "
      "texture objects %3d (highest name %u)\n",
      label, s.frame, Megabytes(s.resident), Megabytes(s.heap), s.census.lists, s.census.highestList, s.census.textures,
      s.census.highestTexture);
}

}  // namespace

int main(int argc, char** argv) {
  HeadlessOptions options = SoakDefaults();
  bool help = false;
  char error[256] = "";
  if (!ParseHeadlessOptions(argc, argv, SoakProgramOptions | OptFrames, &options, &help, error)) {
    std::fprintf(stderr, "strivex-soak: %s\n", error);
    return 1;
  }
  if (help) {
    PrintUsage();
    return 0;
  }
  // The session changes into the scene directory; the picture's directory must be known before.
  std::error_code ignored;
  const std::filesystem::path picture = std::filesystem::absolute(options.picture, ignored);
  // In between the ends of cycles memory rises and falls with the render mode.
  const int cycle = SoakActionCount * options.actionEvery;
  const int cycles = options.frames / cycle;
  if (cycles < MinimumCycles) {
    std::fprintf(stderr,
                 "strivex-soak: --frames must be at least %d with --every %d (%d whole cycles of %d actions, one to "
                 "warm up); give more frames or a smaller --every\n",
                 MinimumCycles * cycle, options.actionEvery, MinimumCycles, SoakActionCount);
    return 1;
  }
  HeadlessSession session;
  if (!session.Start(options, error)) {
    std::fprintf(stderr, "strivex-soak: %s\n", error);
    return 1;
  }
  toolkit.swapBuffers = PresentFinishedFrame;
  std::printf(
      "%d frames of %d x %d, one action every %d frames (a cycle of %d actions every %d frames), clock +%u ms per "
      "frame\n",
      options.frames, options.width, options.height, options.actionEvery, SoakActionCount, cycle, options.step);
  Sample start{}, middle{}, end{};
  const int middleCycle = (1 + cycles) / 2;
  ProgressLine progress(options.frames);
  for (int i = 0; i < options.frames; ++i) {
    if (i > 0 && i % options.actionEvery == 0) ApplySoakAction(i / options.actionEvery - 1);
    session.DrawFrameAt(session.FrameTime(i));
    const int drawn = i + 1;
    if (i == 0) PrintSample(progress, "first", TakeSample(drawn));
    if (drawn == cycle) PrintSample(progress, "start", start = TakeSample(drawn));
    if (drawn == middleCycle * cycle) PrintSample(progress, "middle", middle = TakeSample(drawn));
    if (drawn == cycles * cycle) PrintSample(progress, "end", end = TakeSample(drawn));
    if (drawn == options.frames && drawn != cycles * cycle) PrintSample(progress, "last", TakeSample(drawn));
    if (options.reportEvery > 0 && drawn % options.reportEvery == 0) PrintSample(progress, "sample", TakeSample(drawn));
    std::fflush(stdout);
    progress.Update(drawn);
  }
  progress.Clear();
  const bool written = WritePpmImage(picture.c_str(), options.width, options.height);
  std::printf("last frame (%s mode) %s %s\n", CurrentRenderModeName(), written ? "written to" : "NOT written to",
              picture.c_str());

  const double residentGrowth = Megabytes(end.resident) - Megabytes(start.resident);
  const double heapGrowth = Megabytes(end.heap) - Megabytes(start.heap);
  const bool listsFlat = end.census.lists <= start.census.lists && middle.census.lists <= start.census.lists;
  const bool texturesFlat =
      end.census.textures <= start.census.textures && middle.census.textures <= start.census.textures;
  const bool residentFlat = residentGrowth <= options.allowedGrowthMb;
  const bool heapFlat = heapGrowth <= options.allowedGrowthMb;
  std::printf("from start to end: resident %+.1f MB, heap in use %+.1f MB (allowed %.1f): %s, %s\n", residentGrowth,
              heapGrowth, options.allowedGrowthMb, residentFlat ? "flat" : "GREW", heapFlat ? "flat" : "GREW");
  std::printf("display lists: %s; texture objects: %s\n", listsFlat ? "flat" : "GREW", texturesFlat ? "flat" : "GREW");
  return listsFlat && texturesFlat && residentFlat && heapFlat && written ? 0 : 2;
}
