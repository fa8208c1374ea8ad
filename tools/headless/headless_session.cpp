#include "tools/headless/headless_session.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>

#include "platform/view_state.h"
#include "app/window.h"
#include "model/model_file.h"
#include "motion/rig.h"
#include "platform/clock.h"
#include "render/frame.h"
#include "render/texture_set.h"

namespace {

uint32_t fixedNow = 1;

uint32_t FixedClock() { return fixedNow; }

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The scene reader's own advice on a scene it cannot open is the viewer's (run it from build/);
// a tool is pointed at its scene with --scene instead, so the tool looks first.
bool SceneFileMissing(char* error) {
  struct stat status {};
  int problem = 0;
  if (stat("De_209.asc", &status) != 0) problem = errno;
  else if (S_ISDIR(status.st_mode)) problem = EISDIR;
  else if (access("De_209.asc", R_OK) != 0) problem = errno;
  if (problem == 0) return false;
  char directory[PATH_MAX];
  std::snprintf(error, 256, "cannot read De_209.asc in %.120s: %s; give --scene the directory that holds it and tex/",
                getcwd(directory, sizeof directory) ? directory : ".", std::strerror(problem));
  return true;
}

}  // namespace

bool HeadlessSession::Start(const HeadlessOptions& chosen, char* error) {
  options = chosen;
  if (!context.Create(options.width, options.height)) {
    std::snprintf(error, 256, "no offscreen OpenGL context: %s", context.ErrorText());
    return false;
  }
  if (chdir(options.sceneDirectory) != 0) {
    std::snprintf(error, 256, "cannot enter the scene directory %.150s (--scene): %s", options.sceneDirectory,
                  std::strerror(errno));
    return false;
  }
  if (SceneFileMissing(error)) return false;
  SetClockSource(FixedClock);
  fixedNow = options.startTime;
  InitGlState();
  ReshapeWindow(options.width, options.height);
  const auto sceneStart = std::chrono::steady_clock::now();
  const int status = LoadModelFile("De_209.asc");
  sceneLoadMilliseconds = MillisecondsSince(sceneStart);
  if (status != 0) {
    std::snprintf(error, 256, "the scene De_209.asc in %.150s did not load (status %d)", options.sceneDirectory,
                  status);
    return false;
  }
  const auto texturesStart = std::chrono::steady_clock::now();
  textureSet.LoadTextureFiles();
  textureSet.CreateTextures();
  textureLoadMilliseconds = MillisecondsSince(texturesStart);
  viewState.speedPeriod = options.speedPeriod;
  BuildRig();
  ApplyRenderMode(options.mode);
  viewState.backgroundSet = static_cast<uint8_t>(options.backgroundSet);
  viewState.azimuth = options.azimuth;
  viewState.elevation = options.elevation;
  return true;
}

void HeadlessSession::ApplyRenderMode(RenderMode mode) {
  viewState.textured = mode == RenderMode::Textured;
  viewState.wireframe = mode == RenderMode::Wireframe;
}

uint32_t HeadlessSession::FrameTime(int index) const {
  return options.startTime + static_cast<uint32_t>(index) * options.step;
}

void HeadlessSession::DrawFrameAt(uint32_t now) {
  fixedNow = now;
  DisplayFrame();
}
