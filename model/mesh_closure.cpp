// The closure test numbers every distinct corner position through a fixed hash table, keeps the
// directed edges as pairs of numbers in a second one, and looks up each edge's reverse there. It
// runs on every object the scene reader takes, so it must cost little beside reading: no sorting,
// no allocation, and no clearing between meshes (a slot counts only when it carries the stamp of
// the current call).
#include "model/mesh_closure.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int MaxCorners = 3 * MaxTriangles;
// Powers of two, more than three times the corners (and edges) of a full mesh, so probes stay short.
constexpr uint32_t TableSize = 32768;
static_assert(TableSize > 3 * MaxCorners);

// A corner position as its PositionBits.
struct PositionSlot {
  uint64_t bits[3];
  uint32_t number;  // from 1 on, within the mesh that stamped the slot
  uint32_t stamp;  // the call that filled the slot; any other stamp means empty
};

struct EdgeSlot {
  uint64_t edge;  // the numbers of its start and end corners, start in the high half
  uint32_t stamp;
};

// The scene is read on one thread.
PositionSlot positions[TableSize];
EdgeSlot edgeSet[TableSize];
uint32_t currentStamp = 0;
uint64_t edges[MaxCorners];

uint32_t Mix(uint64_t h) {
  h = (h ^ (h >> 31)) * 0xBF58476D1CE4E5B9ull;
  return static_cast<uint32_t>(h >> 40) & (TableSize - 1);
}

// The number of a position in this mesh, given the first time the position is seen.
uint32_t NumberOf(const uint64_t bits[3], uint32_t& lastNumber) {
  const uint64_t h = (bits[0] * 0x9E3779B97F4A7C15ull ^ bits[1]) * 0x94D049BB133111EBull ^ bits[2];
  for (uint32_t i = Mix(h);; i = (i + 1) & (TableSize - 1)) {
    PositionSlot& slot = positions[i];
    if (slot.stamp != currentStamp) {
      slot = {{bits[0], bits[1], bits[2]}, ++lastNumber, currentStamp};
      return slot.number;
    }
    if (slot.bits[0] == bits[0] && slot.bits[1] == bits[1] && slot.bits[2] == bits[2]) return slot.number;
  }
}

// Adds a directed edge to the set; false when it is there already.
bool InsertEdge(uint64_t edge) {
  for (uint32_t i = Mix(edge);; i = (i + 1) & (TableSize - 1)) {
    EdgeSlot& slot = edgeSet[i];
    if (slot.stamp != currentStamp) {
      slot = {edge, currentStamp};
      return true;
    }
    if (slot.edge == edge) return false;
  }
}

bool ContainsEdge(uint64_t edge) {
  for (uint32_t i = Mix(edge);; i = (i + 1) & (TableSize - 1)) {
    const EdgeSlot& slot = edgeSet[i];
    if (slot.stamp != currentStamp) return false;
    if (slot.edge == edge) return true;
  }
}

}  // namespace

uint64_t PositionBits(double value) {
  if (value == 0.0) value = 0.0;
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

bool IsClosedOutward(const MeshObject& mesh) {
  const int32_t count = std::clamp<int32_t>(mesh.triangleCount, 0, MaxTriangles);
  if (count == 0) return false;
  if (++currentStamp == 0) {
    // After 2^32 calls the stamps come round again: start from an empty table.
    std::memset(positions, 0, sizeof positions);
    std::memset(edgeSet, 0, sizeof edgeSet);
    currentStamp = 1;
  }
  uint32_t lastNumber = 0;
  double volume = 0.0;
  for (int32_t t = 0; t < count; ++t) {
    uint64_t corner[3];
    Vec3 p[3];
    for (int k = 0; k < 3; ++k) {
      p[k] = {mesh.cornerX[t][k], mesh.cornerY[t][k], mesh.cornerZ[t][k]};
      if (!std::isfinite(p[k].x) || !std::isfinite(p[k].y) || !std::isfinite(p[k].z)) return false;
      const uint64_t bits[3] = {PositionBits(p[k].x), PositionBits(p[k].y), PositionBits(p[k].z)};
      corner[k] = NumberOf(bits, lastNumber);
    }
    for (int k = 0; k < 3; ++k) {
      const uint64_t from = corner[k], to = corner[(k + 1) % 3];
      if (from == to) return false;
      edges[3 * t + k] = from << 32 | to;
      // A directed edge twice: it cannot have exactly one reverse partner.
      if (!InsertEdge(edges[3 * t + k])) return false;
    }
    // Six times the signed volume of the tetrahedron from the origin to the triangle.
    volume += p[0].x * (p[1].y * p[2].z - p[1].z * p[2].y) - p[0].y * (p[1].x * p[2].z - p[1].z * p[2].x) +
              p[0].z * (p[1].x * p[2].y - p[1].y * p[2].x);
  }
  // Every directed edge is there once, so a present reverse is exactly one partner.
  for (int32_t e = 0; e < 3 * count; ++e) {
    if (!ContainsEdge((edges[e] << 32) | (edges[e] >> 32))) return false;
  }
  return volume > 0.0;
}
