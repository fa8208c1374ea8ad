// Textured batches inside the immediate triangle stream of a mesh.
#include "render/textured_batch.h"

#include <GL/gl.h>

#include "platform/view_state.h"
#include "render/materials.h"
#include "render/texture_set.h"

bool textureBatchOpen = false;

namespace {
// The material of the open batch; meaningful only while textureBatchOpen is true.
MaterialIndex batchMaterial = 0;
}  // namespace

void BeginTexturedBatch(MaterialIndex material) {
  if (!viewState.textured) return;
  if (textureBatchOpen && material == batchMaterial) return;
  glEnd();
  if (!textureBatchOpen) glEnable(GL_TEXTURE_2D);
  textureSet.BindSlot(TextureSlotOfMaterial(material));
  if (!textureBatchOpen) SetWhiteMaterial();
  glBegin(GL_TRIANGLES);
  textureBatchOpen = true;
  batchMaterial = material;
}

void EndTexturedBatch() {
  if (!textureBatchOpen) return;
  textureBatchOpen = false;
  glEnd();
  glDisable(GL_TEXTURE_2D);
  glBegin(GL_TRIANGLES);
}
