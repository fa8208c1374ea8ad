// A mesh's wireframe arrays, which the mesh keeps once it is first drawn as lines: a triangle added
// after that draw is drawn too, and the arrays go with the mesh (the leak check holds them to that).
// The lines' colours, order and shared edges are compared with the per-triangle stream in
// fast_stream_test.cpp.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "model/mesh_object.h"
#include "support/gl_test.h"

namespace {

TEST(MeshWireframe, ATriangleAddedAfterTheFirstDrawIsDrawnToo) {
  ASSERT_TRUE(UseTestGlContext());
  UseFlatColourLighting();
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  // Each triangle's AB edge runs along the centre of pixel row 12 (first) or 48 (second).
  const double row12 = 12.5 / 32 - 1, row48 = 48.5 / 32 - 1, zs[3] = {};
  const double xs[3] = {-0.9, 0.9, 0.9}, firstYs[3] = {row12, row12, -0.1}, secondYs[3] = {row48, row48, 0.9};
  const auto drawn = [](MeshObject& mesh) {
    glClear(GL_COLOR_BUFFER_BIT);
    mesh.DrawMeshWireframe();
    return std::pair<int, int>{PixelAt(32, 12).r, PixelAt(32, 48).r};
  };
  auto mesh = std::make_unique<MeshObject>();
  mesh->AddTriangle(xs, firstYs, zs);
  EXPECT_EQ(drawn(*mesh), std::pair(77, 0));
  ASSERT_NE(mesh->wireframeLines, nullptr);
  EXPECT_EQ(drawn(*mesh), std::pair(77, 0));  // from the kept lines
  mesh->AddTriangle(xs, secondYs, zs);
  EXPECT_EQ(drawn(*mesh), std::pair(77, 77));
}

}  // namespace
