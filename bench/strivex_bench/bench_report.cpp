// The processor name and the printed table of strivex-bench.
#include "bench/strivex_bench/bench_report.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

const char* Verdict(bool met) { return met ? "met" : "NOT met"; }

}  // namespace

const char* CpuModel(char* out, size_t size) {
  std::snprintf(out, size, "unknown processor");
  std::FILE* info = std::fopen("/proc/cpuinfo", "r");
  if (info == nullptr) return out;
  char line[256];
  while (std::fgets(line, sizeof line, info) != nullptr) {
    const char* colon = std::strchr(line, ':');
    if (std::strncmp(line, "model name", 10) != 0 || colon == nullptr) continue;
    colon += colon[1] == ' ' ? 2 : 1;
    std::snprintf(out, size, "%.*s", static_cast<int>(std::strcspn(colon, "\n")), colon);
    break;
  }
  std::fclose(info);
  return out;
}

void PrintBenchReport(const BenchFigures& f) {
  char cpu[128];
  std::printf("strivex-bench: %d meshes, %ld triangles, %d x %d, median of %d frames per mode\n", f.meshes,
              f.triangles, f.width, f.height, f.frames);
  std::printf("machine: %ld processors, %s; GL: %s, %s\n", sysconf(_SC_NPROCESSORS_ONLN), CpuModel(cpu, sizeof cpu),
              f.renderer, f.glVersion);
  std::printf("\n%-10s %12s %13s %11s %10s  %-13s %11s  %-12s %s\n", "mode", "first frame", "later frames",
              "reference", "later/ref", "target", "first/later", "target", "pixels unlike the per-triangle stream");
  for (const ModeFigures& m : f.modes) {
    const double ratio = m.later / m.reference;
    const double firstRatio = m.first / m.later;
    char target[32];
    std::snprintf(target, sizeof target, "<=%.2fx %s", m.target, Verdict(ratio <= m.target));
    char firstTarget[32] = "";
    if (m.firstFrameTarget) std::snprintf(firstTarget, sizeof firstTarget, "<=10x %s", Verdict(firstRatio <= 10.0));
    const double share = 100.0 * m.differingPixels / (static_cast<double>(f.width) * f.height);
    std::printf("%-10s %9.1f ms %10.1f ms %8.1f ms %9.2fx  %-13s %10.1fx  %-12s %ld (%.2f%%)\n", m.name, m.first,
                m.later, m.reference, ratio, target, firstRatio, firstTarget, m.differingPixels, share);
  }
  std::printf("\nTextured frame that compiles every list again (after Solid): %.1f ms\n", f.texturedRebuild);
  // A plain read is no target a text reader can reach; the number pass below is. Kept for scale.
  std::printf("scene load (LoadModelFile De_209.asc): %.1f ms; plain read() of the file: %.1f ms; ratio %.1fx\n",
              f.sceneLoad, f.plainRead, f.sceneLoad / f.plainRead);
  std::printf("texture load (LoadTextureFiles + CreateTextures): %.1f ms\n", f.textureLoad);
  std::printf("reference buffers built in %.1f ms\n", f.referenceBuild);
}
