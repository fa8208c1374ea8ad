// The one table of rig parts. A part is named by its slot (0..9); rootPart is where drawing starts.
#pragma once

#include <cstdint>

#include "motion/rig_part.h"

constexpr int MaxParts = 10;

struct PartTable {
  RigPart parts[MaxParts];
  int32_t rootPart = 0;

  // Every part back to its constructed state, so that a rig can be built again.
  void Clear() {
    for (RigPart& part : parts) part.Clear();
    rootPart = 0;
  }
};

extern PartTable partTable;
