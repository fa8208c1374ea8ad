// The benchmark's yardstick: the same robot, in the same frame, drawn the way this GL draws fastest
// without drawing less: every triangle (no culling) and every edge of every triangle.
// Each mesh lives in a static vertex buffer (GL 1.5 buffer objects through the compatibility
// context) with its triangles grouped by material, and is drawn with one call per material group:
// for Textured, one per texture and for the untextured grey; for Solid, one per colour; for
// Wireframe, one GL_LINES call per colour over AB, CA, BC of every triangle (a shared edge twice).
// Materials are plain state here, not per-vertex values, and the groups are drawn out of triangle
// order, so its picture may differ from the program's in a few pixels where triangles tie in depth;
// it is a measure of speed, not of pictures.
#pragma once

#include <cstdint>

#include "tools/headless/headless_options.h"

class ReferenceScene {
 public:
  ReferenceScene() = default;
  ~ReferenceScene();
  ReferenceScene(const ReferenceScene&) = delete;
  ReferenceScene& operator=(const ReferenceScene&) = delete;

  // Uploads every mesh of the model library. The texture offsets must have been chosen already
  // (after a first Textured or Solid frame). Needs the current GL context; false with a one-line
  // reason in `error` (size 256) when buffer objects are missing.
  bool Build(char* error);
  // One display pass like the program's: clear, camera, light, ground, sky, then the robot through
  // the part tree at time stamp `now` (the parts' own start times are read, not changed).
  void DrawFrame(uint32_t now, RenderMode mode) const;
  // Deletes the buffers (needs the context still current).
  void Release();

 private:
  void DrawPartTree(int32_t part, uint32_t now, RenderMode mode) const;
  void DrawMesh(int32_t slot, RenderMode mode) const;
};
