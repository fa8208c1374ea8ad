// Counting the OpenGL objects that exist in the current context, by asking about every name in a
// range: a long run that leaks display lists or texture objects shows as a growing count.
#pragma once

#include <cstdint>

struct GlCensus {
  int32_t lists;         // names for which glIsList answers true
  int32_t textures;      // names for which glIsTexture answers true
  uint32_t highestList;  // 0 when there is none
  uint32_t highestTexture;
};

// Asks about the names 1 to lastName. Needs a current context.
GlCensus TakeGlCensus(uint32_t lastName);
