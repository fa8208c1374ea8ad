// Display list and texture object census over a range of names.
#include "tools/soak/gl_census.h"

#include <GL/gl.h>

GlCensus TakeGlCensus(uint32_t lastName) {
  GlCensus census{0, 0, 0, 0};
  for (uint32_t name = 1; name != 0 && name <= lastName; ++name) {
    if (glIsList(name)) {
      ++census.lists;
      census.highestList = name;
    }
    if (glIsTexture(name)) {
      ++census.textures;
      census.highestTexture = name;
    }
  }
  return census;
}
