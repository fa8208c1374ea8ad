// strivex-render: the walk drawn without a window, through the program's own frame code, written as
// numbered binary PPM frames. The clock is fixed by the options, so equal options give equal files.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "render/frame_capture.h"
#include "tools/headless/headless_options.h"
#include "tools/headless/headless_session.h"

namespace {

void PrintUsage() {
  std::printf(
      "Usage: strivex-render [options]\n"
      "Renders the walking robot of De_209.asc and tex/ without a window and writes the frames as\n"
      "OUTPUT/image000.ppm, image001.ppm, ... (binary PPM, top row first). Frame i is drawn with the\n"
      "clock at START + i * STEP ms, so two runs with the same options give identical files.\n"
      "Options:\n%s",
      HeadlessOptionsHelp);
}

// The output directory as an absolute path, made if missing: the session changes the working
// directory to the scene's.
bool PrepareOutput(const char* directory, char* absolute) {
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (error) {
    errno = error.value();
    return false;
  }
  return realpath(directory, absolute) != nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  HeadlessOptions options;
  bool help = false;
  char error[256] = "";
  if (!ParseHeadlessOptions(argc, argv, &options, &help, error)) {
    std::fprintf(stderr, "strivex-render: %s\n", error);
    return 1;
  }
  if (help) {
    PrintUsage();
    return 0;
  }
  char output[PATH_MAX];
  if (!PrepareOutput(options.outputDirectory, output)) {
    std::fprintf(stderr, "strivex-render: cannot create the output directory %s: %s\n", options.outputDirectory,
                 std::strerror(errno));
    return 1;
  }
  HeadlessSession session;
  if (!session.Start(options, error)) {
    std::fprintf(stderr, "strivex-render: %s\n", error);
    return 1;
  }
  for (int i = 0; i < options.frames; ++i) {
    session.DrawFrameAt(session.FrameTime(i));
    char name[PATH_MAX + 32];
    std::snprintf(name, sizeof name, "%s/image%03d.ppm", output, i);
    if (!WritePpmImage(name, options.width, options.height)) return 1;
  }
  return 0;
}
