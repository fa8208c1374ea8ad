// The colours of the triangle materials and the material-to-texture-slot rule.
// Materials 0-2 are textured in Textured mode (slot m); 3 ("DEFAULT"), -1 and any other value are
// plain grey and never textured.
#pragma once

#include "model/mesh_object.h"

// Number of the first material that is never textured; the drawing code compares signed, so
// negative materials count as "below" it, as the triangle stream expects.
constexpr MaterialIndex FirstUntexturedMaterial = 3;

struct MaterialColour {
  float rgba[4];
};

// The colour of a material; every value outside 0-2 gets the grey of "DEFAULT". The reference is
// into a fixed table with one entry per colour: materials of one colour (3, -1 and any other value)
// give the same address, different colours different ones. The triangle stream skips a colour call
// when the address equals the one it set last, so never return a copy, a scratch buffer or a
// second entry that is later changed.
const MaterialColour& MaterialColourOf(MaterialIndex material);

// glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, ...) with the material's colour.
void SetMaterialColour(MaterialIndex material);
// The white material under every texture, so the texture alone gives the colour.
void SetWhiteMaterial();
// The material colour of the sky dome.
void SetSkyMaterial();

// The texture slot of a textured material (the identity for 0-2).
inline int32_t TextureSlotOfMaterial(MaterialIndex material) { return material; }
