// What the scene reader works in while it reads one object. One load owns it: LoadModelStream
// allocates it once, zeroed, and hands it to every ReadAscObject, which leaves it ready for the next.
#pragma once

#include <cstdint>

#include "model/mesh_closure.h"
#include "model/mesh_object.h"

struct ObjectScratch {
  int32_t cornerVertices[MaxTriangles][3];        // the vertex numbers of each triangle taken
  PositionNumber cornerNumbers[MaxTriangles][3];  // each corner's position number, for the closure test
  ClosureTables closure;
};
