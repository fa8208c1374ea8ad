// Material colour table and the material calls that set it.
#include "render/materials.h"

#include <GL/gl.h>

namespace {

const MaterialColour TexturedColours[3] = {
    {{0.3f, 0.2f, 0.4f, 0.5f}},  // "BLACK MATTE"
    {{0.7f, 0.7f, 0.7f, 1.0f}},  // "CHLNGER CHROME"
    {{0.7f, 0.7f, 0.9f, 1.0f}},  // "BLACK ROBO HOOD"
};
const MaterialColour DefaultColour = {{0.3f, 0.3f, 0.3f, 1.0f}};
const MaterialColour WhiteColour = {{1.0f, 1.0f, 1.0f, 1.0f}};
const MaterialColour SkyColour = {{0.6f, 0.6f, 1.0f, 1.0f}};

void SetColour(const MaterialColour& colour) { glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, colour.rgba); }

}  // namespace

const MaterialColour& MaterialColourOf(MaterialIndex material) {
  if (material >= 0 && material < FirstUntexturedMaterial) return TexturedColours[material];
  return DefaultColour;
}

void SetMaterialColour(MaterialIndex material) { SetColour(MaterialColourOf(material)); }

void SetWhiteMaterial() { SetColour(WhiteColour); }

void SetSkyMaterial() { SetColour(SkyColour); }
