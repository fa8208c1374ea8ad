#include "model/mesh_object.h"

#include <GL/gl.h>

#include <cmath>

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
  // At process exit the window's context may already be gone; the host memory is released anyway.
  if (listBuilt && RenderContextIsCurrent()) glDeleteLists(displayList, 1);
  ReleaseArray(cornerX);
  ReleaseArray(cornerY);
  ReleaseArray(cornerZ);
  ReleaseArray(normals);
  ReleaseArray(edgeLengths);
  ReleaseArray(texOffsets);
  ReleaseArray(materials);
}

void MeshObject::AddTriangle(const double xs[3], const double ys[3], const double zs[3]) {
  if (triangleCount >= MaxTriangles) {
    OutputDebugStringA("Error : max number of pts exceeded");
    return;
  }
  const int t = triangleCount;
  for (int k = 0; k < 3; ++k) {
    cornerX[t][k] = xs[k];
    cornerY[t][k] = ys[k];
    cornerZ[t][k] = zs[k];
  }
  const Vec3 e1{xs[1] - xs[0], ys[1] - ys[0], zs[1] - zs[0]};
  const Vec3 e2{xs[2] - xs[1], ys[2] - ys[1], zs[2] - zs[1]};
  edgeLengths[t][0] = std::sqrt(e1.x * e1.x + e1.y * e1.y + e1.z * e1.z);
  edgeLengths[t][1] = std::sqrt(e2.x * e2.x + e2.y * e2.y + e2.z * e2.z);
  for (int i = 0; i < 2; ++i) {
    if (edgeLengths[t][i] > maxEdgeLength[i]) maxEdgeLength[i] = edgeLengths[t][i];
  }
  Cross(e1, e2, normals[t]);
  materials[t] = -1;
  ++triangleCount;
}
