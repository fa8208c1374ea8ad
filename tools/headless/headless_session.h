// The program's own start-up and display pass, run without a window: an offscreen context, the
// scene and textures read from the scene directory, the rig built on a fixed clock, and frames
// drawn at chosen clock readings, so that two runs with the same options draw the same pixels.
#pragma once
#include <cstdint>

#include "tools/headless/headless_options.h"
#include "tools/offscreen/offscreen_context.h"

class HeadlessSession {
 public:
  // Makes the context, changes the working directory to the scene directory (the program reads
  // De_209.asc and tex/ relative to it), reads the scene (its progress line goes to standard
  // output) and the textures, builds the rig and applies the view options. On failure returns
  // false with a one-line reason in `error` (size 256).
  bool Start(const HeadlessOptions& options, char* error);

  // One display pass with the clock at `now` (never 0).
  void DrawFrameAt(uint32_t now);
  // The clock reading of frame `index`: the start time plus index steps (wrapping).
  uint32_t FrameTime(int index) const;

  // Sets the view state's two render-mode flags directly, as the menu's choices leave them for that
  // mode, for runs that change it between frames.
  static void ApplyRenderMode(RenderMode mode);

  // Wall-clock milliseconds that Start spent reading the scene (LoadModelFile) and the textures
  // (LoadTextureFiles and CreateTextures), for the benchmark.
  double SceneLoadMilliseconds() const { return sceneLoadMilliseconds; }
  double TextureLoadMilliseconds() const { return textureLoadMilliseconds; }

 private:
  OffscreenContext context;
  HeadlessOptions options;
  double sceneLoadMilliseconds = 0.0;
  double textureLoadMilliseconds = 0.0;
};
