// How fast the scene reader loads a maximum scene (50 objects of 3000 faces, about 17 MB), next to a
// plain read of the same file and a naive fgets + sscanf loop over it. Prints figures; not a test.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "bench/bench_timing.h"
#include "model/model_file.h"
#include "platform/text_line_reader.h"

namespace {

constexpr int kVerticesPerObject = 2500;

void WriteMaximumScene(const char* path) {
  FILE* file = std::fopen(path, "wb");
  uint32_t state = 12345;
  auto next = [&state]() { return state = state * 1664525u + 1013904223u; };
  const char* materials[] = {"BLACK MATTE", "CHLNGER CHROME", "BLACK ROBO HOOD", "DEFAULT"};
  for (int o = 0; o < MaxObjects; ++o) {
    std::fprintf(file, "Named object: \"Object%02d\"\nTri-mesh, Vertices: %d  Faces: %d\nVertex list:\n", o,
                 kVerticesPerObject, MaxTriangles);
    for (int v = 0; v < kVerticesPerObject; ++v) {
      std::fprintf(file, "Vertex %d:  X: %.6f Y: %.6f Z: %.6f\n", v, (next() % 2000000) / 1e5 - 10.0,
                   (next() % 2000000) / 1e5 - 10.0, (next() % 600000) / 1e5);
    }
    std::fprintf(file, "Face list:\n");
    for (int f = 0; f < MaxTriangles; ++f) {
      std::fprintf(file, "Face %d:    A:%u B:%u C:%u AB:1 BC:1 CA:1\nMaterial: \"%s\"\nSmoothing:  1\n", f,
                   next() % kVerticesPerObject, next() % kVerticesPerObject, next() % kVerticesPerObject,
                   materials[next() % 4]);
    }
    std::fprintf(file, "\n");
  }
  std::fclose(file);
}

template <typename Work>
double MedianMs(int runs, Work work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = BenchClock::now();
    work();
    times.push_back(MillisecondsSince(start));
  }
  return Median(times);
}

int LoadModelFileInto(const char* path, ModelLibrary& library) {
  TextLineReader stream;
  if (!stream.Open(path)) return 2;
  return LoadModelStream(stream, library);
}

// The reader's line reading alone: what the parsing adds is the difference to the full load.
size_t LinesOnly(const char* path) {
  TextLineReader stream;
  stream.Open(path);
  size_t lines = 0;
  while (*stream.ReadLine() != '\x01' && !stream.Failed()) ++lines;
  return lines;
}

size_t PlainRead(const char* path) {
  static std::vector<char> buffer(1 << 16);
  const int fd = ::open(path, O_RDONLY);
  size_t total = 0;
  ssize_t got;
  while ((got = ::read(fd, buffer.data(), buffer.size())) > 0) total += static_cast<size_t>(got);
  ::close(fd);
  return total;
}

size_t NaiveLoop(const char* path) {
  FILE* file = std::fopen(path, "r");
  char line[1024];
  size_t numbers = 0;
  int n, a, b, c;
  double x, y, z;
  while (std::fgets(line, sizeof line, file)) {
    if (std::sscanf(line, "Vertex %d:  X: %lf Y: %lf Z: %lf", &n, &x, &y, &z) == 4) numbers += 4;
    else if (std::sscanf(line, "Face %d: A:%d B:%d C:%d", &n, &a, &b, &c) == 4) numbers += 4;
  }
  std::fclose(file);
  return numbers;
}

}  // namespace

int main() {
  const char* path = "/tmp/strivex-bench-max-scene.asc";
  WriteMaximumScene(path);
  const size_t bytes = PlainRead(path);

  const double plain = MedianMs(9, [&] { PlainRead(path); });
  const double naive = MedianMs(3, [&] { NaiveLoop(path); });
  const double lines = MedianMs(9, [&] { LinesOnly(path); });

  // Each load needs empty slots; constructing the library is start-up work, kept out of the timing.
  std::vector<double> loads;
  std::unique_ptr<ModelLibrary> library;
  int status = -1;
  for (int i = 0; i < 9; ++i) {
    library = std::make_unique<ModelLibrary>();
    SilencedStdout quiet;
    const auto start = BenchClock::now();
    status = LoadModelFileInto(path, *library);
    loads.push_back(MillisecondsSince(start));
  }
  const double reader = Median(loads);
  int triangles = 0;
  for (int i = 0; i < library->objectCount; ++i) triangles += library->slots[i].triangleCount;

  std::printf("scene: %zu bytes, %d objects, %d triangles, status %d\n", bytes, library->objectCount, triangles,
              status);
  std::printf("%-34s %10s %9s\n", "median of runs", "ms", "x plain");
  std::printf("%-34s %10.2f %9.2f\n", "plain read() of the file", plain, 1.0);
  std::printf("%-34s %10.2f %9.2f\n", "line reading alone (no parsing)", lines, lines / plain);
  std::printf("%-34s %10.2f %9.2f\n", "scene reader (open, read, close)", reader, reader / plain);
  std::printf("%-34s %10.2f %9.2f\n", "naive fgets + sscanf loop", naive, naive / plain);
  std::remove(path);
  return status == 0 ? 0 : 1;
}
