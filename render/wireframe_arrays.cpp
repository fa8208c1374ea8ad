// Wireframe vertex arrays: the per-triangle fill and the line pairs of each edge's first owner.
#include "render/wireframe_arrays.h"

#include <algorithm>
#include <memory>
#include <new>

#include "model/mesh_closure.h"
#include "render/materials.h"

namespace {

// The corners of line e of a triangle, in the order the lines are drawn: AB, CA, BC.
constexpr int LineCorners[3][2] = {{0, 1}, {2, 0}, {1, 2}};

struct EdgeEntry {
  uint64_t ends[6];  // the lesser corner's x, y, z bits, then the greater's
  int32_t line;  // 3t + e: its place in the drawing order
};

bool EdgeLess(const EdgeEntry& a, const EdgeEntry& b) {
  for (int i = 0; i < 6; ++i) {
    if (a.ends[i] != b.ends[i]) return a.ends[i] < b.ends[i];
  }
  return a.line < b.line;
}

// Every line of a full mesh, while its first owners are found.
struct LineSort {
  EdgeEntry entries[3 * MaxTriangles];
  bool drawn[3 * MaxTriangles];
};

void FillVertices(const MeshObject& mesh, int32_t count, WireframeVertex* out) {
  for (int32_t t = 0; t < count; ++t) {
    const Vec3& n = mesh.normals[t];
    const float normal[3] = {static_cast<float>(n.x), static_cast<float>(n.y), static_cast<float>(n.z)};
    const float* colour = MaterialColourOf(mesh.materials[t]).rgba;
    for (int k = 0; k < 3; ++k) {
      WireframeVertex& v = out[t * WireframeVerticesPerTriangle + k];
      const double corner[3] = {mesh.cornerX[t][k], mesh.cornerY[t][k], mesh.cornerZ[t][k]};
      for (int c = 0; c < 3; ++c) v.position[c] = static_cast<float>(corner[c]);
      for (int c = 0; c < 3; ++c) v.normal[c] = normal[c];
      for (int c = 0; c < 4; ++c) v.colour[c] = colour[c];
    }
  }
}

// The GL_LINES indices of each edge's first owner; returns how many were written.
int32_t FillFirstOwnerLineIndices(const MeshObject& mesh, int32_t count, LineSort& sort, uint16_t* out) {
  EdgeEntry* entries = sort.entries;
  bool* drawn = sort.drawn;
  for (int32_t t = 0; t < count; ++t) {
    for (int e = 0; e < 3; ++e) {
      uint64_t key[2][3];
      for (int end = 0; end < 2; ++end) {
        const int k = LineCorners[e][end];
        key[end][0] = PositionBits(mesh.cornerX[t][k]);
        key[end][1] = PositionBits(mesh.cornerY[t][k]);
        key[end][2] = PositionBits(mesh.cornerZ[t][k]);
      }
      const bool swap = std::lexicographical_compare(key[1], key[1] + 3, key[0], key[0] + 3);
      EdgeEntry& entry = entries[3 * t + e];
      std::copy(key[swap], key[swap] + 3, entry.ends);
      std::copy(key[!swap], key[!swap] + 3, entry.ends + 3);
      entry.line = 3 * t + e;
    }
  }
  const int32_t lines = 3 * count;
  std::sort(entries, entries + lines, EdgeLess);
  for (int32_t i = 0; i < lines; ++i) {
    drawn[entries[i].line] = i == 0 || !std::equal(entries[i].ends, entries[i].ends + 6, entries[i - 1].ends);
  }
  int32_t written = 0;
  for (int32_t line = 0; line < lines; ++line) {
    if (!drawn[line]) continue;
    const int32_t base = (line / 3) * WireframeVerticesPerTriangle;
    out[written++] = static_cast<uint16_t>(base + LineCorners[line % 3][0]);
    out[written++] = static_cast<uint16_t>(base + LineCorners[line % 3][1]);
  }
  return written;
}

}  // namespace

WireframeLines* BuildWireframeLines(const MeshObject& mesh, int32_t count) {
  std::unique_ptr<WireframeLines> lines(new (std::nothrow) WireframeLines);
  const std::unique_ptr<LineSort> sort(new (std::nothrow) LineSort);
  if (!lines || !sort) return nullptr;
  FillVertices(mesh, count, lines->vertices);
  lines->indexCount = FillFirstOwnerLineIndices(mesh, count, *sort, lines->indices);
  return lines.release();
}
