// Frame timing on the optimised core in a 500 x 500 offscreen context: a synthetic robot of about
// 60,000 triangles (22 meshes of 2,700, three quarters in the textured materials 0-2), written as
// a scene file and read back through the scene loader, with 256 x 256 textures in every slot.
// Prints the first Textured frame (every display list compiled), the first Solid frame (every list
// rebuilt) and the median of later frames in each render mode. Given a directory holding a
// De_209.asc and tex/ (e.g. the build directory with the generated robot), it times that scene.
#include <GL/gl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/view_state.h"
#include "app/window.h"
#include "model/model_file.h"
#include "motion/rig.h"
#include "render/frame.h"
#include "render/texture_set.h"
#include "tools/offscreen/offscreen_context.h"

namespace {

constexpr int MeshCount = 22;
constexpr int Slices = 45;
constexpr int Stacks = 30;  // 2 * 45 * 30 = 2700 triangles per mesh
constexpr int Width = 500;
constexpr int Height = 500;
constexpr int TimedFrames = 31;
const char* const Materials[4] = {"BLACK MATTE", "CHLNGER CHROME", "BLACK ROBO HOOD", "DEFAULT"};

// A sphere-like closed grid per mesh, the meshes spread over the robot's place around (-2, 2, 3).
bool WriteScene(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "w");
  if (file == nullptr) return false;
  std::fprintf(file, "Ambient light color: Red=0.3 Green=0.3 Blue=0.3\n\n");
  const int vertexCount = (Slices + 1) * (Stacks + 1);
  for (int m = 0; m < MeshCount; ++m) {
    const double cx = -3.5 + (m % 4) * 1.0;
    const double cy = 2.0 + ((m / 4) % 2) * 0.5;
    const double cz = 0.5 + (m / 4) * 0.9;
    std::fprintf(file, "Named object: \"part%02d\"\nTri-mesh, Vertices: %d  Faces: %d\nVertex list:\n", m, vertexCount,
                 2 * Slices * Stacks);
    int n = 0;
    for (int j = 0; j <= Stacks; ++j) {
      const double phi = M_PI * j / Stacks;
      for (int i = 0; i <= Slices; ++i) {
        const double theta = 2.0 * M_PI * i / Slices;
        std::fprintf(file, "Vertex %d:  X: %.6f Y: %.6f Z: %.6f\n", n++, cx + 0.45 * std::sin(phi) * std::cos(theta),
                     cy + 0.45 * std::sin(phi) * std::sin(theta), cz + 0.45 * std::cos(phi));
      }
    }
    std::fprintf(file, "Face list:\n");
    int f = 0;
    for (int j = 0; j < Stacks; ++j) {
      for (int i = 0; i < Slices; ++i) {
        const int a = j * (Slices + 1) + i;
        const int b = a + Slices + 1;
        for (int half = 0; half < 2; ++half) {
          // Three quarters of the faces textured (materials 0-2), a quarter plain.
          const char* material = Materials[(f / 7) % 4 == 3 ? 3 : f % 3];
          if (half == 0) {
            std::fprintf(file, "Face %d:    A:%d B:%d C:%d AB:1 BC:1 CA:1\n", f, a, b, a + 1);
          } else {
            std::fprintf(file, "Face %d:    A:%d B:%d C:%d AB:1 BC:1 CA:1\n", f, a + 1, b, b + 1);
          }
          std::fprintf(file, "Material: \"%s\"\nSmoothing:  1\n", material);
          ++f;
        }
      }
    }
    std::fprintf(file, "\n");
  }
  return std::fclose(file) == 0;
}

bool WriteTexture(const std::string& path, int seed) {
  constexpr int Size = 256;
  std::vector<unsigned char> bytes(54 + Size * Size * 3);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int k = 0; k < 4; ++k) bytes[at + k] = static_cast<unsigned char>(v >> (8 * k));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<uint32_t>(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, Size);
  put32(22, Size);
  bytes[26] = 1;
  bytes[28] = 24;
  uint32_t state = 12345u + static_cast<uint32_t>(seed);
  for (size_t i = 54; i < bytes.size(); ++i) {
    state = state * 1664525u + 1013904223u;
    bytes[i] = static_cast<unsigned char>(96 + ((state >> 24) & 63) + seed * 8);
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && ok;
}

double FrameMilliseconds() {
  const auto start = std::chrono::steady_clock::now();
  DisplayFrame();
  glFinish();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double MedianFrameMilliseconds() {
  std::vector<double> times;
  for (int i = 0; i < TimedFrames; ++i) times.push_back(FrameMilliseconds());
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

void SetMode(int textured, int wireframe) {
  viewState.textured = static_cast<uint8_t>(textured);
  viewState.wireframe = static_cast<uint8_t>(wireframe);
}

}  // namespace

int main(int argc, char** argv) {
  std::string dir;
  if (argc > 1) {
    dir = argv[1];
  } else {
    char pattern[] = "/tmp/strivex-frame-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return 1;
    dir = pattern;
    std::filesystem::create_directory(dir + "/tex");
    if (!WriteScene(dir + "/De_209.asc")) return 1;
    int seed = 0;
    for (const TextureSlotFile& entry : TextureSlotFiles) {
      if (!WriteTexture(dir + "/" + entry.fileName, seed++)) return 1;
    }
  }
  if (chdir(dir.c_str()) != 0) return 1;

  OffscreenContext context;
  if (!context.Create(Width, Height)) {
    std::fprintf(stderr, "no offscreen context: %s\n", context.ErrorText());
    return 1;
  }
  std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
  InitGlState();
  ReshapeWindow(Width, Height);
  glGetError();  // the pbuffer has no back buffer to select
  const auto loadStart = std::chrono::steady_clock::now();
  const int status = LoadModelFile("De_209.asc");
  const double loadMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - loadStart).count();
  if (status != 0) return status;
  long triangles = 0;
  for (int m = 0; m < modelLibrary.objectCount; ++m) triangles += modelLibrary.slots[m].triangleCount;
  textureSet.LoadTextureFiles();
  textureSet.CreateTextures();
  BuildRig();
  std::printf("scene: %d meshes, %ld triangles (read in %.1f ms), %d x %d\n", modelLibrary.objectCount, triangles, loadMs,
              Width, Height);

  SetMode(1, 0);
  const double firstTextured = FrameMilliseconds();
  const double textured = MedianFrameMilliseconds();
  SetMode(0, 0);
  const double firstSolid = FrameMilliseconds();
  const double solid = MedianFrameMilliseconds();
  SetMode(0, 1);
  const double wireframe = MedianFrameMilliseconds();
  SetMode(1, 0);
  const double firstTexturedAgain = FrameMilliseconds();

  std::printf("first Textured frame (compiles every list): %8.2f ms\n", firstTextured);
  std::printf("Textured frames, median of %d:              %8.2f ms\n", TimedFrames, textured);
  std::printf("first Solid frame (rebuilds every list):    %8.2f ms\n", firstSolid);
  std::printf("Solid frames, median of %d:                 %8.2f ms\n", TimedFrames, solid);
  std::printf("Wireframe frames, median of %d:             %8.2f ms\n", TimedFrames, wireframe);
  std::printf("back to Textured (rebuilds every list):     %8.2f ms\n", firstTexturedAgain);

  context.Destroy();
  if (argc <= 1) std::filesystem::remove_all(dir);
  return 0;
}
