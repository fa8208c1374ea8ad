// Wireframe vertex arrays: the per-triangle fill and the constant line index pattern.
#include "render/wireframe_arrays.h"

#include <array>

#include "render/materials.h"

namespace {

constexpr int IndexCount = MaxTriangles * WireframeIndicesPerTriangle;
static_assert(MaxTriangles * WireframeVerticesPerTriangle - 1 <= 0xFFFF, "indices must fit 16 bits");

constexpr std::array<uint16_t, IndexCount> MakeLineIndices() {
  std::array<uint16_t, IndexCount> indices{};
  for (int t = 0; t < MaxTriangles; ++t) {
    for (int k = 0; k < WireframeIndicesPerTriangle; ++k) {
      indices[t * WireframeIndicesPerTriangle + k] = static_cast<uint16_t>(t * WireframeVerticesPerTriangle + k % 3);
    }
  }
  return indices;
}

constexpr std::array<uint16_t, IndexCount> LineIndices = MakeLineIndices();

}  // namespace

void FillWireframeVertices(const MeshObject& mesh, int32_t count, WireframeVertex* out) {
  for (int32_t t = 0; t < count; ++t) {
    const Vec3& n = mesh.normals[t];
    const float normal[3] = {static_cast<float>(n.x), static_cast<float>(n.y), static_cast<float>(n.z)};
    const float* colour = MaterialColourOf(mesh.materials[t]).rgba;
    for (int k = 0; k < 3; ++k) {
      WireframeVertex& v = out[t * WireframeVerticesPerTriangle + k];
      v.position[0] = static_cast<float>(mesh.cornerX[t][k]);
      v.position[1] = static_cast<float>(mesh.cornerY[t][k]);
      v.position[2] = static_cast<float>(mesh.cornerZ[t][k]);
      for (int c = 0; c < 3; ++c) v.normal[c] = normal[c];
      for (int c = 0; c < 4; ++c) v.colour[c] = colour[c];
    }
  }
}

const uint16_t* WireframeLineIndices() { return LineIndices.data(); }
