#include "model/mesh_object.h"

#include <GL/gl.h>

#include <cmath>

#include "model/wireframe_lines.h"
#include "platform/diagnostics.h"
#include "platform/gl_context.h"

namespace {

// Releases an owned array and clears its pointer, so a released mesh holds no dangling arrays.
template <typename T>
void ReleaseArray(T*& array) {
  delete[] array;
  array = nullptr;
}

}  // namespace

MeshObject::MeshObject() {
  triangleCount = 0;
  name[0] = '\0';
  cornerX = new double[MaxTriangles][3];
  cornerY = new double[MaxTriangles][3];
  cornerZ = new double[MaxTriangles][3];
  normals = new Vec3[MaxTriangles];
  edgeLengths = new double[MaxTriangles][2];
  texOffsets = new double[MaxTriangles][2];
  for (int t = 0; t < MaxTriangles; ++t) texOffsets[t][0] = -1.0;
  materials = new MaterialIndex[MaxTriangles];
  maxEdgeLength[0] = maxEdgeLength[1] = 0.0;
  listBuilt = false;
  listTextured = false;
  displayList = 0;
}

MeshObject::~MeshObject() {
  ReleaseDrawings();
  ReleaseArray(cornerX);
  ReleaseArray(cornerY);
  ReleaseArray(cornerZ);
  ReleaseArray(normals);
  ReleaseArray(edgeLengths);
  ReleaseArray(texOffsets);
  ReleaseArray(materials);
}

void MeshObject::ReleaseDrawings() {
  // At process exit the window's context may already be gone; the host memory is released anyway.
  if (listBuilt && RenderContextIsCurrent()) glDeleteLists(displayList, 1);
  listBuilt = false;
  delete wireframeLines;
  wireframeLines = nullptr;
}

void MeshObject::Clear() {
  ReleaseDrawings();
  // Offsets are chosen only for stored triangles, so only theirs can have left -1.0; a load clears
  // every slot, and this keeps that free for the slots nothing filled.
  for (int t = 0; t < triangleCount && t < MaxTriangles; ++t) texOffsets[t][0] = -1.0;
  triangleCount = 0;
  name[0] = '\0';
  maxEdgeLength[0] = maxEdgeLength[1] = 0.0;
  listTextured = false;
  displayList = 0;
  closedOutward = false;
}

void MeshObject::AddTriangle(const double xs[3], const double ys[3], const double zs[3]) {
  if (!TakeTriangle()) return;
  const int t = triangleCount - 1;
  for (int k = 0; k < 3; ++k) {
    cornerX[t][k] = xs[k];
    cornerY[t][k] = ys[k];
    cornerZ[t][k] = zs[k];
  }
  DeriveTriangles(t);
}

bool MeshObject::TakeTriangle() {
  if (triangleCount >= MaxTriangles) {
    OutputDebugStringA("Error : max number of pts exceeded");
    return false;
  }
  materials[triangleCount] = -1;
  ++triangleCount;
  // Lines built for fewer triangles no longer fit; the next wireframe draw builds them anew.
  delete wireframeLines;
  wireframeLines = nullptr;
  return true;
}

void MeshObject::DeriveTriangles(int32_t first) {
  for (int32_t t = first; t < triangleCount; ++t) {
    const double(&x)[3] = cornerX[t];
    const double(&y)[3] = cornerY[t];
    const double(&z)[3] = cornerZ[t];
    const Vec3 ab{x[1] - x[0], y[1] - y[0], z[1] - z[0]};
    const Vec3 bc{x[2] - x[1], y[2] - y[1], z[2] - z[1]};
    edgeLengths[t][0] = std::sqrt(ab.x * ab.x + ab.y * ab.y + ab.z * ab.z);
    edgeLengths[t][1] = std::sqrt(bc.x * bc.x + bc.y * bc.y + bc.z * bc.z);
    for (int i = 0; i < 2; ++i) {
      if (edgeLengths[t][i] > maxEdgeLength[i]) maxEdgeLength[i] = edgeLengths[t][i];
    }
    Cross(ab, bc, normals[t]);  // the unit normal
  }
}
