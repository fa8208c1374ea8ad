// The mesh record: construction and the values derived when a triangle is added (its capacity is
// tried through the scene reader).
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "model/mesh_object.h"

namespace {

// Empty with no texture offset chosen; then per triangle its corners, edge lengths AB and BC, the unit
// normal AB x BC (zero when degenerate), the material, and the largest lengths so far.
TEST(MeshObject, StartsEmptyAndAddTriangleDerivesEdgesNormalAndMaxima) {
  const struct {
    double xs[3], ys[3], zs[3];
    const char* derived;
  } cases[] = {
      {{0, 1, 1}, {0, 0, 1}, {0, 0, 0}, "C 1 1 0, AB 1 BC 1, n 0 0 1, m -1, max 1 1"},
      {{0, 1, 1}, {0, 1, 0}, {0, 0, 0}, "C 1 0 0, AB 1.41421 BC 1, n 0 0 -1, m -1, max 1.41421 1"},
      {{0, 0, 4}, {0, 0, 0}, {0, 3, 3}, "C 4 0 3, AB 3 BC 4, n 0 1 0, m -1, max 3 4"},
      {{2, 2, 2}, {2, 2, 5}, {2, 2, 6}, "C 2 5 6, AB 0 BC 5, n 0 0 0, m -1, max 3 5"},
  };
  auto mesh = std::make_unique<MeshObject>();
  for (int t = 0; t < MaxTriangles; ++t) ASSERT_EQ(mesh->texOffsets[t][0], -1.0) << t;
  for (int t = 0; t < 4; ++t) {
    mesh->AddTriangle(cases[t].xs, cases[t].ys, cases[t].zs);
    const MeshObject& m = *mesh;
    char derived[200];
    std::snprintf(derived, sizeof derived, "C %g %g %g, AB %g BC %g, n %g %g %g, m %d, max %g %g", m.cornerX[t][2],
                  m.cornerY[t][2], m.cornerZ[t][2], m.edgeLengths[t][0], m.edgeLengths[t][1], m.normals[t].x,
                  m.normals[t].y, m.normals[t].z, m.materials[t], m.maxEdgeLength[0], m.maxEdgeLength[1]);
    EXPECT_EQ(std::string(derived), cases[t].derived);
  }
}

}  // namespace
