// The closure test sorts the directed edges by their corner positions and looks up each edge's
// reverse: no hashing, no allocation beyond one fixed table.
#include "model/mesh_closure.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// A corner position as bits, with -0.0 folded into 0.0: equal keys are equal positions, and the
// order is total, whatever the values.
struct PointKey {
  uint64_t bits[3];
};

struct DirectedEdge {
  PointKey from;
  PointKey to;
};

uint64_t BitsOf(double value) {
  if (value == 0.0) value = 0.0;
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

bool Less(const PointKey& a, const PointKey& b) {
  return std::lexicographical_compare(a.bits, a.bits + 3, b.bits, b.bits + 3);
}
bool Same(const PointKey& a, const PointKey& b) { return std::equal(a.bits, a.bits + 3, b.bits); }

bool EdgeLess(const DirectedEdge& a, const DirectedEdge& b) {
  if (Less(a.from, b.from)) return true;
  if (Less(b.from, a.from)) return false;
  return Less(a.to, b.to);
}

// Room for every edge of a full mesh; the scene is read on one thread.
DirectedEdge edges[3 * MaxTriangles];

}  // namespace

bool IsClosedOutward(const MeshObject& mesh) {
  const int32_t count = std::clamp<int32_t>(mesh.triangleCount, 0, MaxTriangles);
  if (count == 0) return false;
  double volume = 0.0;
  for (int32_t t = 0; t < count; ++t) {
    PointKey corner[3];
    Vec3 p[3];
    for (int k = 0; k < 3; ++k) {
      p[k] = {mesh.cornerX[t][k], mesh.cornerY[t][k], mesh.cornerZ[t][k]};
      if (!std::isfinite(p[k].x) || !std::isfinite(p[k].y) || !std::isfinite(p[k].z)) return false;
      corner[k] = {{BitsOf(p[k].x), BitsOf(p[k].y), BitsOf(p[k].z)}};
    }
    for (int k = 0; k < 3; ++k) {
      if (Same(corner[k], corner[(k + 1) % 3])) return false;
      edges[3 * t + k] = {corner[k], corner[(k + 1) % 3]};
    }
    // Six times the signed volume of the tetrahedron from the origin to the triangle.
    volume += p[0].x * (p[1].y * p[2].z - p[1].z * p[2].y) - p[0].y * (p[1].x * p[2].z - p[1].z * p[2].x) +
              p[0].z * (p[1].x * p[2].y - p[1].y * p[2].x);
  }
  DirectedEdge* const end = edges + 3 * count;
  std::sort(edges, end, EdgeLess);
  for (const DirectedEdge* edge = edges; edge != end; ++edge) {
    const DirectedEdge reverse = {edge->to, edge->from};
    const auto partners = std::equal_range(edges, end, reverse, EdgeLess);
    if (partners.second - partners.first != 1) return false;
  }
  return volume > 0.0;
}
