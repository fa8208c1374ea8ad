// Textured batches inside the immediate triangle stream of a mesh.
#include "render/textured_batch.h"

#include <GL/gl.h>

#include "platform/view_state.h"
#include "render/materials.h"
#include "render/texture_set.h"

bool textureBatchOpen = false;

void BeginTexturedBatch(MaterialIndex material, MaterialIndex& openMaterial) {
  if (!viewState.textured) return;
  if (textureBatchOpen && material == openMaterial) return;
  glEnd();
  if (!textureBatchOpen) glEnable(GL_TEXTURE_2D);
  textureSet.BindSlot(TextureSlotOfMaterial(material));
  if (!textureBatchOpen) SetWhiteMaterial();
  glBegin(GL_TRIANGLES);
  textureBatchOpen = true;
  openMaterial = material;
}

void EndTexturedBatch() {
  if (!textureBatchOpen) return;
  textureBatchOpen = false;
  glEnd();
  glDisable(GL_TEXTURE_2D);
  glBegin(GL_TRIANGLES);
}
