// Textured and Solid drawing of a mesh: the display-list cache (DrawMeshCached) and the immediate
// triangle stream it compiles (DrawMeshImmediate). Wireframe drawing is in mesh_wireframe.cpp.
//
// The stream is compiled once and replayed every frame, so what it holds decides the frame rate.
// It draws exactly what sending each triangle with its own colour call, and each textured triangle
// in a primitive of its own between a texture enable, bind and white material, would draw, in the
// same order and with the same state left behind; it only leaves out the calls that would repeat a
// value already in force:
// - consecutive textured triangles of one material share one primitive (textured_batch.h);
// - a colour is set only where it differs from the one the stream set last, between two
//   primitives of independent triangles, which the lighting sees exactly as a colour call before
//   the triangle's vertices; the colour a textured triangle would set before switching to white is
//   never seen, so it is left out.
// - a closed mesh wound outward is drawn with its back faces culled (the one place the picture may
//   differ, on silhouette pixels).
// Every triangle still gets its texture coordinates computed (and its random offset chosen) in
// index order, whatever its material and mode.
#include <GL/gl.h>

#include "platform/view_state.h"
#include "model/mesh_object.h"
#include "render/materials.h"
#include "render/textured_batch.h"

void MeshObject::DrawMeshCached() {
  const bool textured = viewState.textured != 0;
  if (listBuilt && listTextured == textured) {
    glCallList(displayList);
    return;
  }
  if (listBuilt) {
    glDeleteLists(displayList, 1);
    listBuilt = false;
  }
  const GLuint list = glGenLists(1);
  if (list == 0) {
    // No list name to be had: draw this frame directly and try caching again next frame.
    DrawMeshImmediate();
    return;
  }
  displayList = list;
  // Compiled, then replayed: the same calls in the same pass, but executing them while compiling
  // sends every one through the immediate path, which made the first frame several times slower.
  glNewList(displayList, GL_COMPILE);
  DrawMeshImmediate();
  glEndList();
  glCallList(displayList);
  listBuilt = true;
  listTextured = textured;
}

void MeshObject::DrawMeshImmediate() {
  const bool textured = viewState.textured != 0;
  glDisable(GL_TEXTURE_2D);
  textureBatchOpen = false;
  // A closed mesh wound outward hides its own back faces: skipping them changes at most a few
  // silhouette pixels and halves the fill. Culling is on for this mesh only, so nothing else (an
  // open sheet, a mesh wound inward, the ground, the sky) loses a side.
  if (closedOutward) glEnable(GL_CULL_FACE);
  glPushMatrix();
  glBegin(GL_TRIANGLES);
  // The colour the stream set last, or null where none is known to be in force (at the start, and
  // after a textured batch has set white).
  const MaterialColour* colourInForce = nullptr;
  MaterialIndex batchMaterial = 0;  // the open batch's, while textureBatchOpen is true
  for (int32_t t = 0; t < triangleCount; ++t) {
    const MaterialIndex material = materials[t];
    const bool texturedMaterial = material >= 0 && material < FirstUntexturedMaterial;
    if (textured && texturedMaterial) {
      BeginTexturedBatch(material, batchMaterial);
      colourInForce = nullptr;
    } else {
      EndTexturedBatch();
      const MaterialColour& colour = MaterialColourOf(material);
      if (&colour != colourInForce) {
        // Between primitives, where the list keeps the colour as state: a material call inside
        // one would make the colour an attribute of every vertex the list holds after it.
        glEnd();
        SetMaterialColour(material);
        glBegin(GL_TRIANGLES);
        colourInForce = &colour;
      }
    }
    glNormal3dv(&normals[t].x);
    double corners[3][2];
    TriangleTexCoords(t, corners[0], corners[1], corners[2]);
    // Signed: negative materials get coordinates too, unseen with texturing off.
    const bool sendTexCoords = textured && material < FirstUntexturedMaterial;
    for (int k = 0; k < 3; ++k) {
      if (sendTexCoords) glTexCoord2dv(corners[k]);
      glVertex3d(cornerX[t][k], cornerY[t][k], cornerZ[t][k]);
    }
  }
  EndTexturedBatch();
  glEnd();
  glPopMatrix();
  if (closedOutward) glDisable(GL_CULL_FACE);
}
