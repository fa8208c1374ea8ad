// The one table of scene meshes, filled once by LoadModelFile. Unfilled slots stay empty meshes,
// which draw nothing.
#pragma once
#include <cstdint>

#include "model/mesh_object.h"

constexpr int MaxObjects = 50;

struct ModelLibrary {
  MeshObject slots[MaxObjects];
  int32_t objectCount = 0;

  // Every slot back to its constructed state (MeshObject::Clear) and no objects.
  void Clear() {
    for (MeshObject& slot : slots) slot.Clear();
    objectCount = 0;
  }
};

extern ModelLibrary modelLibrary;
