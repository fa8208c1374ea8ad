// The mesh record: construction, the values derived when a triangle is added, and the capacity.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "model/mesh_object.h"

namespace {

void Add(MeshObject& mesh, Vec3 a, Vec3 b, Vec3 c) {
  const double xs[3] = {a.x, b.x, c.x}, ys[3] = {a.y, b.y, c.y}, zs[3] = {a.z, b.z, c.z};
  mesh.AddTriangle(xs, ys, zs);
}

TEST(MeshObject, StartsEmptyWithUnchosenTextureOffsets) {
  auto mesh = std::make_unique<MeshObject>();
  EXPECT_STREQ(mesh->name, "");
  EXPECT_EQ(mesh->triangleCount, 0);
  EXPECT_EQ(mesh->maxEdgeLength[0], 0.0);
  EXPECT_EQ(mesh->maxEdgeLength[1], 0.0);
  EXPECT_FALSE(mesh->listBuilt);
  for (int t = 0; t < MaxTriangles; ++t) ASSERT_EQ(mesh->texOffsets[t][0], -1.0) << t;
}

TEST(MeshObject, AddTriangleDerivesEdgesAndNormalFromCornerOrder) {
  auto mesh = std::make_unique<MeshObject>();
  Add(*mesh, {0, 0, 0}, {1, 0, 0}, {1, 1, 0});
  EXPECT_EQ(mesh->edgeLengths[0][0], 1.0);
  EXPECT_EQ(mesh->edgeLengths[0][1], 1.0);
  EXPECT_EQ(mesh->normals[0].x, 0.0);
  EXPECT_EQ(mesh->normals[0].z, 1.0);
  EXPECT_EQ(mesh->materials[0], -1);
  EXPECT_EQ(mesh->maxEdgeLength[0], 1.0);
  EXPECT_EQ(mesh->maxEdgeLength[1], 1.0);

  Add(*mesh, {0, 0, 0}, {1, 1, 0}, {1, 0, 0});
  EXPECT_EQ(mesh->edgeLengths[1][0], std::sqrt(2.0));
  EXPECT_EQ(mesh->edgeLengths[1][1], 1.0);
  EXPECT_EQ(mesh->normals[1].z, -1.0);
  EXPECT_EQ(mesh->maxEdgeLength[0], std::sqrt(2.0));
  EXPECT_EQ(mesh->cornerY[1][1], 1.0);
}

TEST(MeshObject, DegenerateTrianglesKeepAZeroNormal) {
  auto mesh = std::make_unique<MeshObject>();
  Add(*mesh, {2, 2, 2}, {2, 2, 2}, {2, 5, 6});
  EXPECT_EQ(mesh->edgeLengths[0][0], 0.0);
  EXPECT_EQ(mesh->edgeLengths[0][1], 5.0);
  EXPECT_EQ(mesh->normals[0].x, 0.0);
  EXPECT_EQ(mesh->normals[0].y, 0.0);
  EXPECT_EQ(mesh->normals[0].z, 0.0);
}

TEST(MeshObject, The3001stTriangleIsDroppedWithOneDiagnostic) {
  auto mesh = std::make_unique<MeshObject>();
  for (int t = 0; t < MaxTriangles; ++t) Add(*mesh, {0, 0, 0}, {1, 0, 0}, {1, 1, 0});
  EXPECT_EQ(mesh->triangleCount, 3000);
  testing::internal::CaptureStderr();
  Add(*mesh, {0, 0, 0}, {9, 0, 0}, {9, 9, 0});
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error : max number of pts exceeded");
  EXPECT_EQ(mesh->triangleCount, 3000);
  EXPECT_EQ(mesh->maxEdgeLength[0], 1.0);
}

TEST(Vec3Helpers, NormalizeLeavesZeroAloneAndCrossIsUnitLength) {
  Vec3 zero{0, 0, 0};
  Normalize(zero);
  EXPECT_EQ(zero.x, 0.0);
  Vec3 out{};
  Cross({3, 0, 0}, {0, 4, 0}, out);
  EXPECT_EQ(out.z, 1.0);
  Cross({0, 0, 2}, {5, 0, 0}, out);
  EXPECT_EQ(out.y, 1.0);
}

}  // namespace
