// Textured batches inside the immediate triangle stream of a mesh.
#include "render/textured_batch.h"

#include <GL/gl.h>

#include "app/view_state.h"
#include "render/materials.h"
#include "render/texture_set.h"

bool textureBatchOpen = false;

void BeginTexturedBatch(MaterialIndex material) {
  if (!viewState.textured) return;
  glEnd();
  glEnable(GL_TEXTURE_2D);
  textureSet.BindSlot(TextureSlotOfMaterial(material));
  SetWhiteMaterial();
  glBegin(GL_TRIANGLES);
  textureBatchOpen = true;
}

void EndTexturedBatch() {
  if (!textureBatchOpen) return;
  textureBatchOpen = false;
  glEnd();
  glDisable(GL_TEXTURE_2D);
  glBegin(GL_TRIANGLES);
}
