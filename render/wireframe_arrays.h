// Building a mesh's wireframe (model/wireframe_lines.h): the per-triangle vertices and the line
// pairs of each edge's first owner. Positions and normals are converted to float exactly as the GL
// converts doubles sent one vertex at a time, so the lines land on the same pixels.
#pragma once

#include <cstdint>

#include "model/mesh_object.h"
#include "model/wireframe_lines.h"

// The lines of triangles 0 .. count - 1 of the mesh (count within 0 .. its triangle count), newly
// allocated for the mesh to keep; null when memory is short.
//
// Vertex 3t + k is corner k of triangle t, and each triangle's lines are AB, CA, BC in this order.
// An edge (two corner positions, in either direction, compared exactly) is drawn only by its first
// line in that order, so a shared edge keeps the colour, normal and direction of the first triangle
// that has it.
WireframeLines* BuildWireframeLines(const MeshObject& mesh, int32_t count);
