// Textured and Solid drawing of a mesh: the display-list cache (DrawMeshCached) and the immediate
// triangle stream it compiles (DrawMeshImmediate). Wireframe drawing is in mesh_wireframe.cpp.
#include <GL/gl.h>

#include "app/view_state.h"
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
  glNewList(displayList, GL_COMPILE_AND_EXECUTE);
  DrawMeshImmediate();
  glEndList();
  listBuilt = true;
  listTextured = textured;
}

void MeshObject::DrawMeshImmediate() {
  const bool textured = viewState.textured != 0;
  glDisable(GL_TEXTURE_2D);
  textureBatchOpen = false;
  glPushMatrix();
  glBegin(GL_TRIANGLES);
  for (int32_t t = 0; t < triangleCount; ++t) {
    const MaterialIndex material = materials[t];
    SetMaterialColour(material);
    if (material >= 0 && material < FirstUntexturedMaterial) BeginTexturedBatch(material);
    glNormal3dv(&normals[t].x);
    double corners[3][2];
    TriangleTexCoords(t, corners[0], corners[1], corners[2]);
    const bool sendTexCoords = textured && material < FirstUntexturedMaterial;
    for (int k = 0; k < 3; ++k) {
      if (sendTexCoords) glTexCoord2dv(corners[k]);
      glVertex3d(cornerX[t][k], cornerY[t][k], cornerZ[t][k]);
    }
    if (material < FirstUntexturedMaterial) EndTexturedBatch();
  }
  glEnd();
  glPopMatrix();
}
