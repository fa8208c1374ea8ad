// The vertex data of a mesh's wireframe, laid out for one indexed draw of client vertex arrays:
// three interleaved vertices per triangle (corner position, the face normal, the material colour as
// four floats) and a fixed index pattern that joins them into the line pairs AB, CA, BC.
// Positions and normals are converted to float exactly as the GL converts doubles sent one vertex
// at a time, so the lines land on the same pixels.
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

// Fills out[0 .. 3 * count) with triangles 0 .. count - 1 of the mesh (count within 0 .. its
// triangle count; out must hold 3 * count vertices).
void FillWireframeVertices(const MeshObject& mesh, int32_t count, WireframeVertex* out);

// The GL_LINES indices for MaxTriangles triangles: A, B, C, A, B, C of triangle t are vertices 3t,
// 3t + 1, 3t + 2, 3t, 3t + 1, 3t + 2, so the pairs are AB, CA and BC. The first 6 * n serve a mesh
// of n triangles.
const uint16_t* WireframeLineIndices();
