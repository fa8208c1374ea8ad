// Whether a mesh is a closed surface wound outward: the meshes whose back faces can never be seen
// from outside, so drawing may skip them.
#pragma once

#include <cstdint>

#include "model/mesh_object.h"

// A corner coordinate as the bits that identify its position, with -0.0 folded into 0.0: equal
// results are equal positions, and their order is total whatever the values. Shared by every
// rule that pairs corners or edges by position, so that they agree on what "the same" means.
uint64_t PositionBits(double value);

// A distinct corner position of one mesh, numbered from 1 in the order positions are first given;
// 0 is a position with a coordinate that is not a finite number, or one past the 3 * MaxTriangles
// positions a mesh can have.
using PositionNumber = uint16_t;

constexpr int MaxCorners = 3 * MaxTriangles;

// The hash tables of one closure test: a slot index is the top kSlotBits bits of a 64-bit product,
// so the table has exactly 2^kSlotBits slots. A power of two, more than three times the positions
// (and edges) of a full mesh, so probes stay short. Empty slots are 0; a numbering and a test empty
// the slots they filled when they end, so one set of tables serves every object of a load. It is
// about 0.45 MB: allocate it (zeroed), never put it on the stack.
struct ClosureTables {
  static constexpr int kSlotBits = 15;
  static constexpr uint32_t kSize = 1u << kSlotBits;
  static_assert(kSize > 3 * MaxCorners);

  uint16_t positionSlots[kSize];             // the number of the position hashed there
  uint32_t edgeSlots[kSize];                 // lower number << 16 | higher number << 2 | directions
  uint64_t positionBits[MaxCorners + 1][3];  // by number
  uint16_t positionSlotOf[MaxCorners + 1];   // by number, for emptying
  uint16_t edgeSlotOf[MaxCorners];           // by order of creation, for emptying
};

// Numbers the positions of one mesh in `tables`, which no other numbering may use while it lives;
// it empties the slots it filled when it ends.
class PositionNumbering {
 public:
  explicit PositionNumbering(ClosureTables& tables) : tables(tables) {}
  ~PositionNumbering();
  PositionNumbering(const PositionNumbering&) = delete;
  PositionNumbering& operator=(const PositionNumbering&) = delete;

  PositionNumber NumberOf(double x, double y, double z);

 private:
  ClosureTables& tables;
  uint32_t lastNumber = 0;
};

// True when every directed edge of the mesh's triangles (A->B, B->C, C->A, corners compared by
// their exact positions) has exactly one reverse partner among them, no triangle has two corners
// at one position, and the signed volume the triangles enclose is positive (counter-clockwise seen
// from outside). False for an empty mesh, an open sheet, an inward-wound or inconsistently wound
// mesh, and one with a corner that is not a finite number.
// It allocates its own tables for the call.
bool IsClosedOutward(const MeshObject& mesh);
// The same, with the corners already numbered by one PositionNumbering (by the scene reader, which
// numbers each vertex once rather than each of the corners that share it); the edges go through
// the edge slots of `tables`, which a numbering does not use.
bool IsClosedOutward(const MeshObject& mesh, const PositionNumber (*cornerNumbers)[3], ClosureTables& tables);
