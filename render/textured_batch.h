// Switching texturing on for one textured triangle inside an open GL_TRIANGLES stream, and off
// again. The stream is closed around the switch, since binds and enables are not allowed between
// glBegin and glEnd.
#pragma once

#include "model/mesh_object.h"

// True while a textured batch is open inside the current triangle stream.
extern bool textureBatchOpen;

// In Textured mode: ends the stream, enables texturing, binds the material's slot, sets the white
// material and reopens the stream. Nothing in the other modes. Called only with no batch open.
void BeginTexturedBatch(MaterialIndex material);
// Closes an open batch: ends the stream, disables texturing and reopens a plain stream.
void EndTexturedBatch();
