// strivex: start-up in its fixed order, then the toolkit's event loop for the rest of the run.
#include <cstdio>

#include <GL/glut.h>

#include "app/window.h"
#include "model/model_file.h"
#include "motion/rig.h"
#include "render/texture_set.h"

namespace {

void PrintControlSummary() {
  std::printf(" Controls done by mouse via menus, or:\n");
  std::printf("  1..3 - controls speed\n");
  std::printf("  q/w/e - Texture/Solid/Wireframe\n");
  std::printf(" Controls only through keyboard:\n");
  std::printf("  m - and drop into manual mode (1/15sec advance per frame)\n");
  std::printf("      also saves into ppm files in the images/ subdirectory which must exist.\n");
  std::printf("  d - drop outof manual mode (get into by pressing 'm')\n");
  std::printf("  s - toggle background set\n");
  std::printf(" Warning:  Very high density model, so on the higher speeds\n");
  std::printf("  a whole cycle will probably occur between redraws on most\n");
  std::printf("  video cards.\n");
}

}  // namespace

int main(int argc, char** argv) {
  // Console lines must appear as they happen, also when standard output is a pipe or a file.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  PrintControlSummary();
  InitWindow(argc, argv);
  const int status = LoadModelFile("De_209.asc");
  if (status != 0) return status;
  textureSet.LoadTextureFiles();
  textureSet.CreateTextures();
  BuildRig();
  glutMainLoop();
  return 0;
}
