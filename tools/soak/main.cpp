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
#include "tools/soak/control_schedule.h"
#include "tools/soak/gl_census.h"
#include "tools/soak/resident_memory.h"

namespace {

// Display lists are renamed when they are rebuilt, so names climb over a long run; the census
// looks far enough up for any run this tool makes and says so when names come near its end.
constexpr uint32_t kCensusNames = 1u << 20;

struct SoakOptions {
  int every = 300;  // frames between two actions
  const char* picture = "soak-last.ppm";
  double allowedGrowthMb = 8.0;  // growth from start to end that still counts as flat
  int reportEvery = 0;           // frames between progress samples; 0 for none
};

void PrintUsage() {
  std::printf(
      "Usage: strivex-soak [options]\n"
      "Draws many frames of the walking robot of De_209.asc and tex/ without a window, applying one\n"
      "user action (render mode, speed, background, orbit drag) every few hundred frames, and reports\n"
      "resident memory, display lists and texture objects at the start, middle and end.\n"
      "Options (besides those below; --frames defaults to 20000, --size to 250x250):\n"
      "  --every N           frames between two actions (default 300)\n"
      "  --picture FILE      where the last frame is written as binary PPM (default soak-last.ppm)\n"
      "  --allowed-growth MB growth of resident memory or heap in use still taken as flat (default 8)\n"
      "  --report-every N    also print a sample every N frames (default 0: none)\n%s",
      HeadlessOptionsHelp);
}

// Takes the soak's own options out of argv and leaves the rest for the shared parser.
bool SplitOptions(int argc, char** argv, SoakOptions* soak, int* restCount, char** rest) {
  *restCount = 0;
  rest[(*restCount)++] = argv[0];
  for (int i = 1; i < argc; ++i) {
    const bool own = std::strcmp(argv[i], "--every") == 0 || std::strcmp(argv[i], "--picture") == 0 ||
                     std::strcmp(argv[i], "--allowed-growth") == 0 || std::strcmp(argv[i], "--report-every") == 0;
    if (!own) {
      rest[(*restCount)++] = argv[i];
      continue;
    }
    if (i + 1 >= argc) {
      std::fprintf(stderr, "strivex-soak: %s needs a value\n", argv[i]);
      return false;
    }
    const char* value = argv[++i];
    char* end = nullptr;
    if (std::strcmp(argv[i - 1], "--picture") == 0) {
      soak->picture = value;
    } else if (std::strcmp(argv[i - 1], "--every") == 0 || std::strcmp(argv[i - 1], "--report-every") == 0) {
      const bool every = std::strcmp(argv[i - 1], "--every") == 0;
      const long frames = std::strtol(value, &end, 10);
      if (end == value || *end != '\0' || frames < (every ? 1 : 0) || frames > 1000000) {
        std::fprintf(stderr, "strivex-soak: bad value '%s' for %s\n", value, argv[i - 1]);
        return false;
      }
      (every ? soak->every : soak->reportEvery) = static_cast<int>(frames);
    } else {
      const double mb = std::strtod(value, &end);
      if (end == value || *end != '\0' || !(mb >= 0.0)) {
        std::fprintf(stderr, "strivex-soak: bad value '%s' for --allowed-growth\n", value);
        return false;
      }
      soak->allowedGrowthMb = mb;
    }
  }
  rest[*restCount] = nullptr;
  return true;
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

void PrintSample(const char* label, const Sample& s) {
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
  SoakOptions soak;
  HeadlessOptions options;
  options.frames = 20000;
  options.width = options.height = 250;
  char* rest[256];
  int restCount = 0;
  if (argc > 255 || !SplitOptions(argc, argv, &soak, &restCount, rest)) return 1;
  bool help = false;
  char error[256] = "";
  if (!ParseHeadlessOptions(restCount, rest, &options, &help, error)) {
    std::fprintf(stderr, "strivex-soak: %s\n", error);
    return 1;
  }
  if (help) {
    PrintUsage();
    return 0;
  }
  // The session changes into the scene directory; the picture's directory must be known before.
  std::error_code ignored;
  const std::filesystem::path picture = std::filesystem::absolute(soak.picture, ignored);
  // Memory is compared between ends of whole cycles of actions, where the program is in the same
  // state (mode, speed, background, camera); in between it rises and falls with the render mode.
  const int cycle = SoakActionCount * soak.every;
  const int cycles = options.frames / cycle;
  if (cycles < 3) {
    std::fprintf(stderr,
                 "strivex-soak: --frames must be at least %d: three whole cycles of %d actions (one to warm up)\n",
                 3 * cycle, SoakActionCount);
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
      options.frames, options.width, options.height, soak.every, SoakActionCount, cycle, options.step);
  Sample start{}, middle{}, end{};
  const int middleCycle = (1 + cycles) / 2;
  for (int i = 0; i < options.frames; ++i) {
    if (i > 0 && i % soak.every == 0) ApplySoakAction(i / soak.every - 1);
    session.DrawFrameAt(session.FrameTime(i));
    const int drawn = i + 1;
    if (i == 0) PrintSample("first", TakeSample(drawn));
    if (drawn == cycle) PrintSample("start", start = TakeSample(drawn));
    if (drawn == middleCycle * cycle) PrintSample("middle", middle = TakeSample(drawn));
    if (drawn == cycles * cycle) PrintSample("end", end = TakeSample(drawn));
    if (drawn == options.frames && drawn != cycles * cycle) PrintSample("last", TakeSample(drawn));
    if (soak.reportEvery > 0 && drawn % soak.reportEvery == 0) PrintSample("sample", TakeSample(drawn));
    std::fflush(stdout);
  }
  const bool written = WritePpmImage(picture.c_str(), options.width, options.height);
  std::printf("last frame (%s mode) %s %s\n", CurrentRenderModeName(), written ? "written to" : "NOT written to",
              picture.c_str());

  const double residentGrowth = Megabytes(end.resident) - Megabytes(start.resident);
  const double heapGrowth = Megabytes(end.heap) - Megabytes(start.heap);
  const bool listsFlat = end.census.lists <= start.census.lists && middle.census.lists <= start.census.lists;
  const bool texturesFlat =
      end.census.textures <= start.census.textures && middle.census.textures <= start.census.textures;
  const bool residentFlat = residentGrowth <= soak.allowedGrowthMb;
  const bool heapFlat = heapGrowth <= soak.allowedGrowthMb;
  std::printf("from start to end: resident %+.1f MB, heap in use %+.1f MB (allowed %.1f): %s, %s\n", residentGrowth,
              heapGrowth, soak.allowedGrowthMb, residentFlat ? "flat" : "GREW", heapFlat ? "flat" : "GREW");
  std::printf("display lists: %s; texture objects: %s\n", listsFlat ? "flat" : "GREW", texturesFlat ? "flat" : "GREW");
  return listsFlat && texturesFlat && residentFlat && heapFlat && written ? 0 : 2;
}
