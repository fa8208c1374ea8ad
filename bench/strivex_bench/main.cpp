// strivex-bench: how fast the program's own frame draws the shipped robot in each render mode,
// beside a reference drawing of the same scene in the same context (static vertex buffers, one
// draw per material group, every triangle and every edge of every triangle: what this GL can
// practically do without drawing less), how many pixels of the program's frame are unlike the
// per-triangle stream it stands in for, and how long the scene and the textures take to load,
// beside a plain read() of the scene file. Offscreen, no window.
#include <GL/gl.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "model/model_library.h"
#include "render/random_draws.h"
#include "bench/bench_timing.h"
#include "bench/strivex_bench/bench_report.h"
#include "bench/strivex_bench/number_pass.h"
#include "tools/reference/per_triangle_stream.h"
#include "bench/strivex_bench/reference_scene.h"
#include "tools/headless/headless_options.h"
#include "tools/headless/headless_session.h"

namespace {

// Wall time of a draw until the GL has finished it.
template <typename Draw>
double TimeFrame(Draw&& draw) {
  const auto start = BenchClock::now();
  draw();
  glFinish();
  return MillisecondsSince(start);
}

// Every render mode is timed, so --mode does not apply.
constexpr uint32_t BenchOptions = SessionOptions & ~OptMode;

void PrintUsage() {
  std::printf(
      "Usage: strivex-bench [options]\n"
      "Times the program's frame on the robot of De_209.asc and tex/ without a window, in Textured,\n"
      "Solid and Wireframe mode: the first frame (display lists compiled) and the median of the\n"
      "later frames, each beside a reference drawing of the same scene from static vertex buffers,\n"
      "and the pixels of one frame unlike the per-triangle stream the program's drawing stands in for.\n"
      "Also times loading the scene (beside a plain read() of the file) and the textures.\n"
      "Options (--frames is the number of timed frames per mode):\n");
  PrintHeadlessOptionsHelp(stdout, BenchOptions, HeadlessOptions{});
}

// read() of the whole file in 64 KiB pieces; negative when it cannot be read.
double PlainReadMilliseconds(const char* fileName) {
  static char buffer[1 << 16];
  const auto start = BenchClock::now();
  const int fd = open(fileName, O_RDONLY);
  if (fd < 0) return -1.0;
  ssize_t got = 0;
  while ((got = read(fd, buffer, sizeof buffer)) > 0) {
  }
  close(fd);
  return got < 0 ? -1.0 : MillisecondsSince(start);
}

std::vector<unsigned char> ReadSurface(int width, int height) {
  std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  return pixels;
}

const RenderMode ModeOrder[3] = {RenderMode::Textured, RenderMode::Solid, RenderMode::Wireframe};

}  // namespace

int main(int argc, char** argv) {
  HeadlessOptions options;
  bool help = false;
  char error[256] = "";
  if (!ParseHeadlessOptions(argc, argv, BenchOptions, &options, &help, error)) {
    std::fprintf(stderr, "strivex-bench: %s\n", error);
    return 1;
  }
  if (help) {
    PrintUsage();
    return 0;
  }
  options.mode = RenderMode::Textured;  // as the viewer starts
  HeadlessSession session;
  if (!session.Start(options, error)) {
    std::fprintf(stderr, "strivex-bench: %s\n", error);
    return 1;
  }
  BenchFigures figures;
  figures.width = options.width;
  figures.height = options.height;
  figures.frames = options.frames;
  figures.sceneLoad = session.SceneLoadMilliseconds();
  figures.textureLoad = session.TextureLoadMilliseconds();
  std::vector<double> reads;
  for (int i = 0; i < 5; ++i) reads.push_back(PlainReadMilliseconds("De_209.asc"));
  figures.plainRead = Median(reads);
  figures.meshes = modelLibrary.objectCount;
  for (int m = 0; m < modelLibrary.objectCount; ++m) figures.triangles += modelLibrary.slots[m].triangleCount;

  ReferenceScene reference;
  per_triangle::Stream perTriangle(RandomDrawState());
  std::vector<per_triangle::MeshState> perTriangleMeshes(MaxObjects);
  int frame = 0;
  for (int index = 0; index < 3; ++index) {
    const RenderMode mode = ModeOrder[index];
    ModeFigures& m = figures.modes[index];
    HeadlessSession::ApplyRenderMode(mode);
    const uint32_t firstTime = session.FrameTime(frame++);
    m.first = TimeFrame([&] { session.DrawFrameAt(firstTime); });
    if (mode == RenderMode::Textured) {  // the texture offsets have just been chosen
      const auto start = BenchClock::now();
      if (!reference.Build(error)) {
        std::fprintf(stderr, "strivex-bench: %s\n", error);
        return 1;
      }
      glFinish();
      figures.referenceBuild = MillisecondsSince(start);
      for (int slot = 0; slot < MaxObjects; ++slot) {  // the same texture pattern on both sides
        const double* chosen = &modelLibrary.slots[slot].texOffsets[0][0];
        std::copy(chosen, chosen + 2 * MaxTriangles, perTriangleMeshes[slot].texOffsets.begin());
      }
    }
    // Alternating, so that the load of a shared machine falls on both alike.
    std::vector<double> ours, theirs;
    for (int i = 0; i < options.frames; ++i) {
      const uint32_t now = session.FrameTime(frame++);
      ours.push_back(TimeFrame([&] { session.DrawFrameAt(now); }));
      theirs.push_back(TimeFrame([&] { reference.DrawFrame(now, mode); }));
    }
    m.later = Median(ours);
    m.reference = Median(theirs);
    const uint32_t now = session.FrameTime(frame++);
    session.DrawFrameAt(now);
    const std::vector<unsigned char> a = ReadSurface(options.width, options.height);
    perTriangle.DrawFrame(perTriangleMeshes, now);
    const std::vector<unsigned char> b = ReadSurface(options.width, options.height);
    for (size_t p = 0; p < a.size(); p += 4) m.differingPixels += std::memcmp(&a[p], &b[p], 3) != 0;
  }
  reference.Release();
  // Back to Textured from Wireframe over Solid lists: every list is compiled again.
  HeadlessSession::ApplyRenderMode(RenderMode::Textured);
  const uint32_t rebuildTime = session.FrameTime(frame++);
  figures.texturedRebuild = TimeFrame([&] { session.DrawFrameAt(rebuildTime); });

  figures.renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  figures.glVersion = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  PrintBenchReport(figures);
  PrintLoadBesideNumberPass("De_209.asc", 15);
  return 0;
}
