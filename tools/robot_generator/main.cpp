// strivex-generate DIRECTORY: writes the robot scene (De_209.asc) and its textures (tex/*.bmp)
// into DIRECTORY, where the viewer runs. The output is the same, byte for byte, on every run.
#include <cstdio>

#include "tools/robot_generator/scene_output.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIRECTORY\n", argc > 0 ? argv[0] : "strivex-generate");
    return 2;
  }
  robogen::SceneSummary summary;
  char error[512] = "";
  if (!robogen::WriteScene(argv[1], summary, error, sizeof error)) {
    std::fprintf(stderr, "strivex-generate: %s\n", error);
    return 1;
  }
  std::printf("strivex-generate: %d objects, %d triangles, %d textures in %s\n", summary.objects,
              summary.triangles, summary.textures, argv[1]);
  return 0;
}
