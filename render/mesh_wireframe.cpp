// Wireframe drawing of a mesh: every triangle's three edges as lines, sent directly every frame.
// It uses no display list and chooses no texture offsets.
#include <GL/gl.h>

#include "model/mesh_object.h"
#include "render/materials.h"

void MeshObject::DrawMeshWireframe() {
  glDisable(GL_TEXTURE_2D);
  glBegin(GL_LINES);
  for (int32_t t = 0; t < triangleCount; ++t) {
    SetMaterialColour(materials[t]);
    glNormal3dv(&normals[t].x);
    // A, B, C, A, B, C as line pairs: AB, CA, BC.
    for (int pass = 0; pass < 2; ++pass) {
      for (int k = 0; k < 3; ++k) glVertex3d(cornerX[t][k], cornerY[t][k], cornerZ[t][k]);
    }
  }
  glEnd();
}
