#include "model/mesh_object.h"

#include <GL/gl.h>

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
  if (wireframeLines != nullptr) {
    delete wireframeLines;
    wireframeLines = nullptr;
  }
  return true;
}

// Two triangles at a time, one in each lane: the square roots and divisions, which bound this loop,
// then take half the instructions.
void MeshObject::DeriveTriangles(int32_t first) {
  for (int32_t t = first; t < triangleCount; t += 2) {
    const int32_t u = t + 1 < triangleCount ? t + 1 : t;  // an odd last triangle fills both lanes
    const auto corner = [this, t, u](int k) {
      return Vec3Of<Lanes>{
          {cornerX[t][k], cornerX[u][k]}, {cornerY[t][k], cornerY[u][k]}, {cornerZ[t][k], cornerZ[u][k]}};
    };
    const Vec3Of<Lanes> a = corner(0), b = corner(1), c = corner(2);
    const Vec3Of<Lanes> e1{b.x - a.x, b.y - a.y, b.z - a.z};
    const Vec3Of<Lanes> e2{c.x - b.x, c.y - b.y, c.z - b.z};
    const Lanes length1 = SquareRoot(e1.x * e1.x + e1.y * e1.y + e1.z * e1.z);
    const Lanes length2 = SquareRoot(e2.x * e2.x + e2.y * e2.y + e2.z * e2.z);
    Vec3Of<Lanes> normal;
    Cross(e1, e2, normal);
    // The second lane is stored first: for an odd last triangle it is the same triangle again.
    edgeLengths[u][0] = length1[1];
    edgeLengths[u][1] = length2[1];
    normals[u] = {normal.x[1], normal.y[1], normal.z[1]};
    edgeLengths[t][0] = length1[0];
    edgeLengths[t][1] = length2[0];
    normals[t] = {normal.x[0], normal.y[0], normal.z[0]};
  }
  for (int32_t t = first; t < triangleCount; ++t) {
    for (int i = 0; i < 2; ++i) {
      if (edgeLengths[t][i] > maxEdgeLength[i]) maxEdgeLength[i] = edgeLengths[t][i];
    }
  }
}
