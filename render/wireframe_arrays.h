// The vertex data of a mesh's wireframe, laid out for one indexed draw of client vertex arrays:
// three interleaved vertices per triangle (corner position, the face normal, the material colour as
// four floats) and the line pairs that join them, each edge of the mesh once.
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
// triangle count; out must hold 3 * count vertices). Returns a digest of the corner positions, which
// tells whether line indices made earlier for a mesh at this address still fit it.
uint64_t FillWireframeVertices(const MeshObject& mesh, int32_t count, WireframeVertex* out);

// The GL_LINES indices into those vertices for triangles 0 .. count - 1: vertex 3t + k is corner k
// of triangle t, and each triangle's lines are AB, CA, BC in this order. An edge (two corner
// positions, in either direction, compared exactly) is drawn only by its first line in that order,
// so a shared edge keeps the colour, normal and direction of the first triangle that has it.
// out must hold 6 * count indices; returns how many were written.
int32_t FillFirstOwnerLineIndices(const MeshObject& mesh, int32_t count, uint16_t* out);
