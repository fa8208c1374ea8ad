// Wireframe drawing of a mesh: the edges of its triangles as lines, every frame. It uses no display
// list and chooses no texture offsets.
//
// The lines go out in one indexed draw of client vertex arrays rather than six vertex calls per
// triangle. Each triangle's colour rides along as the vertex colour with colour material on, which
// the lighting takes per vertex just as a colour call between glBegin and glEnd. An edge that
// triangles share is drawn once, by the first of them (wireframe_arrays.h): drawing it again in the
// other direction only let the depth test choose between two normals pixel by pixel. A mesh never
// changes once read, so its arrays are built the first time it is drawn and kept with it.
#include <GL/gl.h>

#include <algorithm>

#include "model/mesh_object.h"
#include "model/wireframe_lines.h"
#include "render/materials.h"
#include "render/wireframe_arrays.h"

namespace {

// What a line stream of six vertex calls per triangle leaves set, which the vertex arrays (under
// the attribute push) do not: the last triangle's colour as the front material and its normal as
// the current normal. It must change whenever that stream's per-triangle calls change.
void LeaveLineStreamState(const MeshObject& mesh, int32_t count) {
  SetMaterialColour(mesh.materials[count - 1]);
  glNormal3dv(&mesh.normals[count - 1].x);
}

}  // namespace

void MeshObject::DrawMeshWireframe() {
  glDisable(GL_TEXTURE_2D);
  const int32_t count = std::clamp<int32_t>(triangleCount, 0, MaxTriangles);
  if (count == 0) return;  // an empty line stream draws nothing and sets nothing
  if (wireframeLines == nullptr) wireframeLines = BuildWireframeLines(*this, count);
  if (wireframeLines == nullptr) return;  // memory short: nothing drawn, tried again next frame
  const WireframeLines& lines = *wireframeLines;

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
  glVertexPointer(3, GL_FLOAT, Stride, lines.vertices[0].position);
  glNormalPointer(GL_FLOAT, Stride, lines.vertices[0].normal);
  glColorPointer(4, GL_FLOAT, Stride, lines.vertices[0].colour);
  glDrawElements(GL_LINES, lines.indexCount, GL_UNSIGNED_SHORT, lines.indices);
  glPopClientAttrib();
  glPopAttrib();

  LeaveLineStreamState(*this, count);
}
