// Textured batches inside the open GL_TRIANGLES stream of DrawMeshImmediate: a run of consecutive
// textured triangles shares one primitive with texturing on, its material's slot bound and the
// white material set. The stream is closed around each switch, since binds, enables and material
// changes must not happen inside glBegin/glEnd.
//
// The contract on which the compiled lists' pixel equality with one primitive per textured triangle
// rests (breaking any point changes pictures):
// - Both are called only by DrawMeshImmediate, between its glBegin(GL_TRIANGLES) and glEnd, and
//   both return with a GL_TRIANGLES stream open. Begin is called for every triangle of material 0-2
//   in Textured mode, also while a batch is open: the merging of runs happens here, not in the caller.
// - Inside a batch nothing sets a colour: the white material must stay in force for every triangle
//   of the batch. After End the colour in force is white, not the last untextured colour, so the
//   caller must set the next untextured triangle's colour even if it equals the one set before.
// - Every switch of material binds through BindSlot (never glBindTexture directly), even inside a
//   run, so that lastBoundSlot records what a list compiled in this frame binds; BindSlot skips a
//   repeat of the slot bound last, and the lists rely on being replayed in compile order.
// - End is called before every untextured triangle and once at the end of the mesh.
#pragma once

#include "model/mesh_object.h"

// True while a textured batch is open inside the current triangle stream.
extern bool textureBatchOpen;

// For a triangle of material 0-2 (nothing in Solid mode). No batch open: glEnd, enable texturing,
// BindSlot(material's slot), white material, glBegin. A batch of the same material open: nothing,
// the triangle joins its primitive. A batch of another textured material open: glEnd, BindSlot of
// the new slot, glBegin (texturing and white stay). openMaterial is the stream's own record of the
// open batch's material, meaningful only while textureBatchOpen is true; this keeps it.
void BeginTexturedBatch(MaterialIndex material, MaterialIndex& openMaterial);
// With a batch open: glEnd, disable texturing, glBegin of a plain stream. Otherwise nothing.
void EndTexturedBatch();
