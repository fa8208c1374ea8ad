// Wireframe drawing of a mesh: every triangle's three edges as lines, from the mesh as it is now,
// every frame. It uses no display list and chooses no texture offsets.
//
// The lines go out in one indexed draw of client vertex arrays rather than six vertex calls per
// triangle. Each triangle's colour rides along as the vertex colour with colour material on, which
// the lighting takes per vertex just as a colour call between glBegin and glEnd; the order of the
// lines and every vertex value are those of the triangle stream. Afterwards the GL holds what that
// stream leaves: texturing off, the last triangle's colour as the front material and its normal as
// the current normal, colour material off, the vertex arrays as they were.
#include <GL/gl.h>

#include <algorithm>

#include "model/mesh_object.h"
#include "render/materials.h"
#include "render/wireframe_arrays.h"

namespace {
// The one mesh's worth of vertices being drawn; filled and consumed within one call.
WireframeVertex staging[MaxTriangles * WireframeVerticesPerTriangle];
}  // namespace

void MeshObject::DrawMeshWireframe() {
  glDisable(GL_TEXTURE_2D);
  const int32_t count = std::clamp<int32_t>(triangleCount, 0, MaxTriangles);
  if (count == 0) return;  // an empty line stream draws nothing and sets nothing
  FillWireframeVertices(*this, count, staging);

  glPushAttrib(GL_CURRENT_BIT | GL_LIGHTING_BIT);
  glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
  glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
  glEnable(GL_COLOR_MATERIAL);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_INDEX_ARRAY);
  glDisableClientState(GL_EDGE_FLAG_ARRAY);
  constexpr GLsizei Stride = sizeof(WireframeVertex);
  glVertexPointer(3, GL_FLOAT, Stride, staging[0].position);
  glNormalPointer(GL_FLOAT, Stride, staging[0].normal);
  glColorPointer(4, GL_FLOAT, Stride, staging[0].colour);
  glDrawElements(GL_LINES, count * WireframeIndicesPerTriangle, GL_UNSIGNED_SHORT, WireframeLineIndices());
  glPopClientAttrib();
  glPopAttrib();

  SetMaterialColour(materials[count - 1]);
  glNormal3dv(&normals[count - 1].x);
}
