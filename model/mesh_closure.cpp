// The closure test numbers every distinct corner position through a fixed hash table and keeps each
// undirected edge once, with the directions it was seen in, in a second one. It runs on every
// object the scene reader takes, so it must cost little beside reading: no sorting, no allocation,
// and tables small enough to stay in the processor's cache (slots of 2 and 4 bytes, the positions
// themselves kept densely by number). Only the slots a call filled are emptied after it.
#include "model/mesh_closure.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>

namespace {

// A position's number (from 1) and an edge's two numbers fit in 14 bits each, with two bits left in
// an edge slot for its directions.
static_assert(MaxCorners < (1 << 14));
constexpr uint32_t TableSize = ClosureTables::kSize;

constexpr uint32_t kForward = 1;   // seen from the lower number to the higher
constexpr uint32_t kBackward = 2;  // seen the other way
constexpr uint32_t kDirections = kForward | kBackward;

// The top bits of the product: exactly kSlotBits of them, so always a slot of the table.
uint32_t SlotOf(uint64_t h) { return static_cast<uint32_t>((h * 0x9E3779B97F4A7C15ull) >> (64 - ClosureTables::kSlotBits)); }

// The undirected edges of one mesh with the directions each was seen in.
class EdgeSet {
 public:
  explicit EdgeSet(ClosureTables& tables) : edgeSlots(tables.edgeSlots), edgeSlotOf(tables.edgeSlotOf) {}
  ~EdgeSet() {
    for (uint32_t e = 0; e < edgeCount; ++e) edgeSlots[edgeSlotOf[e]] = 0;
  }
  EdgeSet(const EdgeSet&) = delete;
  EdgeSet& operator=(const EdgeSet&) = delete;

  // Records the directed edge from -> to; false when it was recorded already.
  bool Add(uint32_t from, uint32_t to) {
    const uint32_t direction = from < to ? kForward : kBackward;
    const uint32_t key = std::min(from, to) << 16 | std::max(from, to) << 2;
    for (uint32_t i = SlotOf(key);; i = (i + 1) & (TableSize - 1)) {
      const uint32_t slot = edgeSlots[i];
      if (slot == 0) {
        edgeSlots[i] = key | direction;
        edgeSlotOf[edgeCount++] = static_cast<uint16_t>(i);
        ++unpaired;
        return true;
      }
      if ((slot & ~kDirections) == key) {
        if (slot & direction) return false;
        edgeSlots[i] = slot | direction;
        --unpaired;
        return true;
      }
    }
  }

  uint32_t unpaired = 0;  // undirected edges seen in one direction only

 private:
  uint32_t* edgeSlots;
  uint16_t* edgeSlotOf;
  uint32_t edgeCount = 0;
};

}  // namespace

uint64_t PositionBits(double value) {
  if (value == 0.0) value = 0.0;
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

PositionNumbering::~PositionNumbering() {
  for (uint32_t n = 1; n <= lastNumber; ++n) tables.positionSlots[tables.positionSlotOf[n]] = 0;
}

PositionNumber PositionNumbering::NumberOf(double x, double y, double z) {
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) return 0;
  const uint64_t bits[3] = {PositionBits(x), PositionBits(y), PositionBits(z)};
  const uint64_t h = (bits[0] * 0x9E3779B97F4A7C15ull ^ bits[1]) * 0x94D049BB133111EBull ^ bits[2];
  for (uint32_t i = SlotOf(h ^ (h >> 29));; i = (i + 1) & (TableSize - 1)) {
    const uint32_t n = tables.positionSlots[i];
    if (n == 0) {
      if (lastNumber == MaxCorners) return 0;
      ++lastNumber;
      tables.positionSlots[i] = static_cast<uint16_t>(lastNumber);
      tables.positionSlotOf[lastNumber] = static_cast<uint16_t>(i);
      std::memcpy(tables.positionBits[lastNumber], bits, sizeof tables.positionBits[0]);
      return static_cast<PositionNumber>(lastNumber);
    }
    const uint64_t(&known)[3] = tables.positionBits[n];
    if (known[0] == bits[0] && known[1] == bits[1] && known[2] == bits[2]) {
      return static_cast<PositionNumber>(n);
    }
  }
}

bool IsClosedOutward(const MeshObject& mesh, const PositionNumber (*cornerNumbers)[3], ClosureTables& tables) {
  const int32_t count = std::clamp<int32_t>(mesh.triangleCount, 0, MaxTriangles);
  if (count == 0) return false;
  EdgeSet edges(tables);
  double volume = 0.0;
  for (int32_t t = 0; t < count; ++t) {
    const uint32_t a = cornerNumbers[t][0], b = cornerNumbers[t][1], c = cornerNumbers[t][2];
    // A corner that is not a finite number, or two corners at one position.
    if (a == 0 || b == 0 || c == 0 || a == b || b == c || c == a) return false;
    // A directed edge twice: it cannot have exactly one reverse partner.
    if (!edges.Add(a, b) || !edges.Add(b, c) || !edges.Add(c, a)) return false;
    const double(&x)[3] = mesh.cornerX[t];
    const double(&y)[3] = mesh.cornerY[t];
    const double(&z)[3] = mesh.cornerZ[t];
    // Six times the signed volume of the tetrahedron from the origin to the triangle.
    volume += x[0] * (y[1] * z[2] - z[1] * y[2]) - y[0] * (x[1] * z[2] - z[1] * x[2]) +
              z[0] * (x[1] * y[2] - y[1] * x[2]);
  }
  // Every directed edge is there once, so an edge seen both ways has exactly one partner each way.
  return edges.unpaired == 0 && volume > 0.0;
}

bool IsClosedOutward(const MeshObject& mesh) {
  struct Work {
    ClosureTables tables;
    PositionNumber cornerNumbers[MaxTriangles][3];
  };
  const std::unique_ptr<Work> work(new (std::nothrow) Work());
  if (!work) return false;  // drawn with both sides, as any mesh not known to be closed
  const int32_t count = std::clamp<int32_t>(mesh.triangleCount, 0, MaxTriangles);
  PositionNumbering numbering(work->tables);
  for (int32_t t = 0; t < count; ++t) {
    for (int k = 0; k < 3; ++k) {
      work->cornerNumbers[t][k] = numbering.NumberOf(mesh.cornerX[t][k], mesh.cornerY[t][k], mesh.cornerZ[t][k]);
    }
  }
  return IsClosedOutward(mesh, work->cornerNumbers, work->tables);
}
