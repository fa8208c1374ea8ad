// MeshObject::TriangleTexCoords and the offset choice, plus the pure coordinate rule.
#include "render/tex_coords.h"

#include "model/mesh_object.h"
#include "render/random_draws.h"

double EdgeShare(double edgeLength, double maxEdgeLength) {
  if (!(maxEdgeLength > 0.0)) return 0.0;
  return edgeLength / maxEdgeLength;
}

void CornerTexCoords(double u, double v, double shareAb, double shareBc, double a[2], double b[2], double c[2]) {
  a[0] = u;
  a[1] = v;
  b[0] = u + shareAb;
  b[1] = v;
  c[0] = u + shareAb;
  c[1] = v + shareBc;
}

void MeshObject::TriangleTexCoords(int32_t t, double a[2], double b[2], double c[2]) {
  double* offset = texOffsets[t];
  if (offset[0] == -1.0) {
    // u before v: the order of the draws fixes the pattern.
    offset[0] = DrawRandom() / static_cast<double>(RandomDrawMax);
    offset[1] = DrawRandom() / static_cast<double>(RandomDrawMax);
  }
  CornerTexCoords(offset[0], offset[1], EdgeShare(edgeLengths[t][0], maxEdgeLength[0]),
                  EdgeShare(edgeLengths[t][1], maxEdgeLength[1]), a, b, c);
}
