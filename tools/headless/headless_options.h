// Command-line options shared by the headless programs (the renderer and the benchmark): which
// scene, what view, which clock. Parsing is strict: an unknown option or a bad value is an error.
#pragma once
#include <cstdint>

enum class RenderMode { Textured, Solid, Wireframe };

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
  const char* outputDirectory = "frames";
};

// Fills options from argv. Returns false with a one-line reason in `error` (size 256) on a bad
// command line; sets *help when --help was given.
bool ParseHeadlessOptions(int argc, char** argv, HeadlessOptions* options, bool* help, char* error);

// The option lines of --help, for the programs' own usage texts.
extern const char* const HeadlessOptionsHelp;
