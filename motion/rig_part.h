// The tree of moving parts: each part draws a list of scene meshes and a list of child parts, all
// displaced along its motion vector by a triangle wave of its period. Children move with their
// parent and add their own motion. The robot itself is assembled in rig.cpp.
#pragma once

#include <cstdint>

#include "model/vec3.h"

constexpr int MaxPartModels = 10;
constexpr int MaxPartChildren = 5;

class RigPart {
 public:
  RigPart();
  ~RigPart() = default;
  RigPart(const RigPart&) = delete;
  RigPart& operator=(const RigPart&) = delete;

  // Back to the state construction leaves: no motion, no models, no children.
  void Clear();
  // Appends a ModelLibrary slot; an 11th is dropped with a diagnostic.
  void AddModel(int32_t modelIndex);
  // Appends a PartTable slot as a child; a 6th is dropped with a diagnostic.
  void AddChild(int32_t partIndex);
  // Draws the part and its subtree at time stamp t (ms), as wireframe or through the mesh cache.
  // The only data it changes is startTime (set on first use, then kept within a period of t).
  void DrawPart(uint32_t t, bool wireframe);

  Vec3 motion;  // displacement at full swing, model units
  uint32_t period;  // ms per full cycle; 0 = does not move
  uint32_t startTime;  // ms, start of the current cycle; 0 = not started
  int32_t modelCount;
  int32_t models[MaxPartModels];
  int32_t childCount;
  int32_t children[MaxPartChildren];
};
