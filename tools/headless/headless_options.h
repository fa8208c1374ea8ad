// Command-line options of the headless programs (the renderer, the benchmark and the long run):
// which scene, what view, which clock, and where the pictures go. One table holds every option with
// its range; each program takes the options that apply to it, and its --help lists those with the
// program's own defaults. Parsing is strict: an unknown option, one that does not apply, or a value
// outside its range is an error, and the error names the range.
#pragma once
#include <cstdint>
#include <cstdio>

enum class RenderMode { Textured, Solid, Wireframe };
enum class FrameFormat { Ppm, Png };

// One bit per option, for the set a program takes and the set its help lists.
enum HeadlessOption : uint32_t {
  OptFrames = 1u << 0,
  OptSize = 1u << 1,
  OptMode = 1u << 2,
  OptSpeed = 1u << 3,
  OptBackground = 1u << 4,
  OptAzimuth = 1u << 5,
  OptElevation = 1u << 6,
  OptStartTime = 1u << 7,
  OptStep = 1u << 8,
  OptScene = 1u << 9,
  OptOutput = 1u << 10,
  OptFormat = 1u << 11,
  OptVideo = 1u << 12,
  OptReplace = 1u << 13,
  OptEvery = 1u << 14,
  OptPicture = 1u << 15,
  OptAllowedGrowth = 1u << 16,
  OptReportEvery = 1u << 17,
};
// What every program draws: how many frames, the view, the clock and the scene.
constexpr uint32_t SessionOptions = OptFrames | OptSize | OptMode | OptSpeed | OptBackground | OptAzimuth |
                                    OptElevation | OptStartTime | OptStep | OptScene;
constexpr uint32_t RenderOutputOptions = OptOutput | OptFormat | OptVideo | OptReplace;
constexpr uint32_t SoakOptions = OptEvery | OptPicture | OptAllowedGrowth | OptReportEvery;

struct HeadlessOptions {
  int frames = 30;
  int width = 500;
  int height = 500;
  RenderMode mode = RenderMode::Textured;
  uint32_t speedPeriod = 2000;  // ms: 4000 slow, 2000 medium, 1000 fast
  int backgroundSet = 0;
  double azimuth = 180.0;
  double elevation = 20.0;
  uint32_t startTime = 1000;  // ms on the fixed clock; never 0, which means "not started"
  uint32_t step = 66;         // ms per frame, as in manual mode
  const char* sceneDirectory = ".";
  // The renderer's output: numbered frames, a video through ffmpeg, or both.
  const char* outputDirectory = "frames";
  bool outputGiven = false;  // --output was on the command line
  FrameFormat format = FrameFormat::Ppm;
  const char* videoFile = nullptr;
  bool replaceFrames = false;
  // The long run's own.
  int actionEvery = 300;  // frames between two actions
  const char* picture = "soak-last.ppm";
  double allowedGrowthMb = 8.0;  // growth from start to end that still counts as flat
  int reportEvery = 0;           // frames between progress samples; 0 for none
};

// Fills options from argv, taking only the options in `accepted`. Returns false with a one-line
// reason in `error` (size 256) on a bad command line; sets *help when --help or -h was given.
bool ParseHeadlessOptions(int argc, char** argv, uint32_t accepted, HeadlessOptions* options, bool* help,
                          char* error);

// Writes the help lines of the options in `shown`, each with its range and with its default read
// from `defaults`, in the table's order.
void PrintHeadlessOptionsHelp(std::FILE* out, uint32_t shown, const HeadlessOptions& defaults);

// One help line in the same layout, for an option whose text a program states itself.
void PrintHelpLine(std::FILE* out, const char* option, const char* text);
