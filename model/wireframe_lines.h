// A mesh's wireframe as the renderer draws it, in one indexed draw of client vertex arrays: three
// interleaved vertices per triangle (corner position, the face normal, the material colour as four
// floats) and the line pairs that join them, each edge of the mesh once. A mesh never changes once
// read, so the renderer builds these the first time it draws the mesh as lines (in
// render/wireframe_arrays.cpp); the mesh keeps them and frees them with itself.
#pragma once

#include <cstdint>

#include "model/mesh_object.h"

struct WireframeVertex {
  float position[3];
  float normal[3];
  float colour[4];
};

constexpr int WireframeVerticesPerTriangle = 3;
constexpr int WireframeIndicesPerTriangle = 6;
static_assert(MaxTriangles * WireframeVerticesPerTriangle - 1 <= 0xFFFF, "indices must fit 16 bits");

struct WireframeLines {
  int32_t indexCount = 0;
  WireframeVertex vertices[MaxTriangles * WireframeVerticesPerTriangle];
  uint16_t indices[MaxTriangles * WireframeIndicesPerTriangle];
};
