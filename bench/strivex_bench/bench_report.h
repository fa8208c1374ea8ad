// The figures strivex-bench gathers and the table it prints from them, with the targets the frame
// rates are held to. No OpenGL here: the renderer's name and version are passed in.
#pragma once

#include <cstddef>

// One render mode: the program's frames and the reference drawing's, in milliseconds.
struct ModeFigures {
  const char* name;
  double target;  // the most that later frames may take over the reference's
  bool firstFrameTarget;  // whether the first frame is held to at most 10 later ones
  double first = 0.0;
  double later = 0.0;  // median
  double reference = 0.0;  // median
  long differingPixels = 0;  // in one frame, against the per-triangle stream's picture of it
};

struct BenchFigures {
  int meshes = 0;
  long triangles = 0;
  int width = 0;
  int height = 0;
  int frames = 0;
  const char* renderer = "";
  const char* glVersion = "";
  ModeFigures modes[3] = {{"Textured", 0.75, true}, {"Solid", 0.75, false}, {"Wireframe", 0.6, false}};
  double texturedRebuild = 0.0;  // a Textured frame that compiles every list again
  double referenceBuild = 0.0;
  double sceneLoad = 0.0;
  double plainRead = 0.0;
  double textureLoad = 0.0;
};

// The processor's model name from /proc/cpuinfo, or "unknown processor".
const char* CpuModel(char* out, size_t size);

// The table on standard output.
void PrintBenchReport(const BenchFigures& figures);
