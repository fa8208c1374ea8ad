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

// Numbers the positions of one mesh. The numbering works in tables shared by the process, so only
// one may live at a time; it empties the slots it filled when it ends.
class PositionNumbering {
 public:
  PositionNumbering() = default;
  ~PositionNumbering();
  PositionNumbering(const PositionNumbering&) = delete;
  PositionNumbering& operator=(const PositionNumbering&) = delete;

  PositionNumber NumberOf(double x, double y, double z);

 private:
  uint32_t lastNumber = 0;
};

// True when every directed edge of the mesh's triangles (A->B, B->C, C->A, corners compared by
// their exact positions) has exactly one reverse partner among them, no triangle has two corners
// at one position, and the signed volume the triangles enclose is positive (counter-clockwise seen
// from outside). False for an empty mesh, an open sheet, an inward-wound or inconsistently wound
// mesh, and one with a corner that is not a finite number.
bool IsClosedOutward(const MeshObject& mesh);
// The same, with the corners already numbered by one PositionNumbering (by the scene reader, which
// numbers each vertex once rather than each of the corners that share it).
bool IsClosedOutward(const MeshObject& mesh, const PositionNumber (*cornerNumbers)[3]);
