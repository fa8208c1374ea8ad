// Textured batches inside the open GL_TRIANGLES stream of a mesh: a run of consecutive textured
// triangles shares one primitive with texturing on, its material's slot bound and the white material
// set. The stream is closed around each switch, since binds, enables and material changes between
// primitives must not happen inside glBegin/glEnd.
//
// The GL state inside and after a batch is what switching per triangle would give: a triangle of
// the batch's own material would set the same enable, bind (BindSlot skips the repeat) and white
// material again, and a triangle of another textured material only changes the bound slot.
#pragma once

#include "model/mesh_object.h"

// True while a textured batch is open inside the current triangle stream.
extern bool textureBatchOpen;

// For a textured triangle of material 0-2 in Textured mode (nothing in the other modes). With no
// batch open: ends the stream, enables texturing, binds the material's slot through BindSlot, sets
// the white material and reopens the stream. With a batch of the same material open: nothing. With
// a batch of another material open: ends the stream, binds the new slot, reopens.
void BeginTexturedBatch(MaterialIndex material);
// Closes an open batch: ends the stream, disables texturing and reopens a plain stream. Called
// before an untextured triangle and at the end of the mesh.
void EndTexturedBatch();
