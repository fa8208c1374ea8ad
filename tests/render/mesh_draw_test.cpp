// Drawing one mesh in a real GL context: material and texture colours per render mode, the
// display-list cache (what is replayed, what is rebuilt), texture offsets, the binds a list
// records, and direct drawing when no list name can be had.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "platform/view_state.h"
#include "model/mesh_object.h"
#include "render/random_draws.h"
#include "render/tex_coords.h"
#include "render/texture_set.h"
#include "render/textured_batch.h"
#include "support/gl_failure_injection.h"
#include "support/gl_probe.h"
#include "support/test_textures.h"

namespace {

// Pixel centre of the test surface in normalised device coordinates.
double Ndc(double pixel) { return (pixel + 0.5) / (TestSurfaceSize / 2.0) - 1.0; }

// A right triangle with its right angle at pixel (x, y) and legs of `size` pixels along +x and +y.
void AddPixelTriangle(MeshObject& mesh, double x, double y, double size, MaterialIndex material) {
  const double xs[3] = {Ndc(x), Ndc(x + size), Ndc(x + size)};
  const double ys[3] = {Ndc(y), Ndc(y), Ndc(y + size)};
  const double zs[3] = {0.0, 0.0, 0.0};
  mesh.AddTriangle(xs, ys, zs);
  mesh.materials[mesh.triangleCount - 1] = material;
}

// A pixel inside the triangle added at (x, y), off its edges.
Rgb Inside(int x, int y) { return PixelAt(x + 6, y + 2); }

Rgb Byte(float r, float g, float b) {
  auto c = [](float v) { return static_cast<unsigned char>(std::lround(v * 255.0f)); };
  return {c(r), c(g), c(b)};
}

const Rgb Grey = Byte(0.3f, 0.3f, 0.3f);
const Rgb Black = {0, 0, 0};

class MeshDrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(UseGlobalTestTextures());
    saved = viewState;
    UseFlatColourLighting();
    mesh = std::make_unique<MeshObject>();
  }
  void TearDown() override {
    mesh.reset();
    viewState = saved;
    glDisable(GL_TEXTURE_2D);
  }
  void Draw(bool textured, bool wireframe) {
    viewState.textured = textured;
    viewState.wireframe = wireframe;
    glClear(GL_COLOR_BUFFER_BIT);
    if (wireframe) {
      mesh->DrawMeshWireframe();
    } else {
      mesh->DrawMeshCached();
    }
  }
  ViewState saved{};
  std::unique_ptr<MeshObject> mesh;
};

TEST_F(MeshDrawTest, ColoursInEachRenderMode) {
  // A 3 x 2 grid of triangles with the materials 0, 1, 2, 3, -1 and 7.
  const MaterialIndex materials[6] = {0, 1, 2, 3, -1, 7};
  auto x = [](int i) { return 2 + 20 * (i % 3); };
  auto y = [](int i) { return 4 + 30 * (i / 3); };
  for (int i = 0; i < 6; ++i) AddPixelTriangle(*mesh, x(i), y(i), 16, materials[i]);
  const Rgb solid[3] = {Byte(0.3f, 0.2f, 0.4f), Byte(0.7f, 0.7f, 0.7f), Byte(0.7f, 0.7f, 0.9f)};
  Draw(false, false);
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(Near(Inside(x(i), y(i)), i < 3 ? solid[i] : Grey, 1)) << "solid " << i;
  Draw(true, false);  // materials 0-2 show their slot's picture under the white material
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(Near(Inside(x(i), y(i)), i < 3 ? TestTextureColour(i) : Grey, 1)) << i;
  EXPECT_FALSE(textureBatchOpen);
  Draw(false, true);  // edges only, in the material colour, untextured
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(Near(Inside(x(i), y(i)), Black, 0)) << "wireframe " << i;
  EXPECT_TRUE(Near(PixelAt(10, 4), solid[0], 1));  // the bottom edge of the first triangle
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(MeshDrawTest, FirstTexturedDrawCompilesAndTakesOffsetsFromTheUnseededSequence) {
  uint32_t fresh = 1;
  EXPECT_EQ(NextRandomDraw(fresh), 41);
  EXPECT_EQ(NextRandomDraw(fresh), 18467);
  for (int i = 0; i < 4; ++i) AddPixelTriangle(*mesh, 2 + 12 * i, 2, 10 + i, i % 2 ? 3 : 1);
  uint32_t state = RandomDrawState();
  Draw(true, false);
  EXPECT_TRUE(mesh->listBuilt && mesh->listTextured);
  EXPECT_TRUE(glIsList(mesh->displayList));
  for (int t = 0; t < mesh->triangleCount; ++t) {  // in index order, u before v, every material
    EXPECT_EQ(mesh->texOffsets[t][0], NextRandomDraw(state) / 32767.0) << t;
    EXPECT_EQ(mesh->texOffsets[t][1], NextRandomDraw(state) / 32767.0) << t;
  }
  EXPECT_EQ(RandomDrawState(), state);
  // AB spans its share of the mesh's longest AB edge along s, BC along t.
  double a[2], b[2], c[2];
  mesh->TriangleTexCoords(1, a, b, c);
  EXPECT_EQ(a[0], mesh->texOffsets[1][0]);
  EXPECT_NEAR(b[0], a[0] + 11.0 / 13.0, 1e-12);
  EXPECT_NEAR(c[1], a[1] + 11.0 / 13.0, 1e-12);
  EXPECT_EQ(RandomDrawState(), state);  // chosen once
}

TEST_F(MeshDrawTest, ListIsReplayedUntilTheTexturedFlagChanges) {
  AddPixelTriangle(*mesh, 10, 10, 30, 3);
  auto shift = [&](double dx) {  // change the mesh behind the cache's back
    for (int k = 0; k < 3; ++k) mesh->cornerX[0][k] += dx;
  };
  Draw(true, false);
  ASSERT_TRUE(Near(Inside(10, 10), Grey, 1));
  const uint32_t state = RandomDrawState();
  shift(1.5);
  Draw(true, false);  // replayed: the old geometry
  EXPECT_TRUE(Near(Inside(10, 10), Grey, 1));
  Draw(false, true);  // wireframe leaves the list alone...
  Draw(true, false);  // ...so back in Textured mode it is replayed, not rebuilt
  EXPECT_TRUE(Near(Inside(10, 10), Grey, 1));
  Draw(false, false);  // Solid: rebuilt from the moved mesh
  EXPECT_FALSE(mesh->listTextured);
  EXPECT_TRUE(Near(Inside(10, 10), Black, 0));
  shift(-1.5);
  Draw(false, false);  // replayed, not rebuilt again
  EXPECT_TRUE(Near(Inside(10, 10), Black, 0));
  Draw(true, false);  // rebuilt for Textured
  EXPECT_TRUE(Near(Inside(10, 10), Grey, 1));
  EXPECT_EQ(RandomDrawState(), state);  // rebuilding chooses no new offsets
}

TEST_F(MeshDrawTest, CompiledListRecordsBindsOnlyWhereTheSlotChanges) {
  AddPixelTriangle(*mesh, 2, 2, 16, 1);
  AddPixelTriangle(*mesh, 22, 2, 16, 0);
  AddPixelTriangle(*mesh, 42, 2, 16, 0);
  lastBoundSlot = 1;  // slot 1 counts as bound already: its triangle records no bind
  Draw(true, false);
  EXPECT_EQ(lastBoundSlot, 0);
  glBindTexture(GL_TEXTURE_2D, textureSet.textureNames[2]);
  Draw(true, false);  // replayed with slot 2's texture bound
  EXPECT_TRUE(Near(Inside(2, 2), TestTextureColour(2), 1));
  EXPECT_TRUE(Near(Inside(22, 2), TestTextureColour(0), 1));
  EXPECT_TRUE(Near(Inside(42, 2), TestTextureColour(0), 1));
}

TEST_F(MeshDrawTest, WithoutAListNameTheMeshIsDrawnDirectly) {
  AddPixelTriangle(*mesh, 10, 10, 30, 3);
  FailNextListCreation();
  Draw(false, false);
  EXPECT_FALSE(mesh->listBuilt);
  EXPECT_TRUE(Near(Inside(10, 10), Grey, 1));
  Draw(false, false);  // names available again: cached
  EXPECT_TRUE(mesh->listBuilt);
  const GLuint old = mesh->displayList;
  FailNextListCreation();  // a rebuild without a name drops the old list and still draws
  Draw(true, false);
  EXPECT_FALSE(mesh->listBuilt);
  EXPECT_FALSE(glIsList(old));
  EXPECT_TRUE(Near(Inside(10, 10), Grey, 1));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(TexCoords, ZeroLongestEdgeGivesZeroShareNotNaN) {
  MeshObject mesh;
  const double xs[3] = {0.0, 2.0, 2.0}, zeros[3] = {0.0, 0.0, 0.0};
  mesh.AddTriangle(xs, zeros, zeros);  // AB = 2, BC = 0: the BC maximum stays 0
  double a[2], b[2], c[2];
  mesh.TriangleTexCoords(0, a, b, c);
  EXPECT_EQ(b[0], a[0] + 1.0);
  EXPECT_EQ(c[1], a[1]);
  EXPECT_EQ(EdgeShare(0.0, 0.0), 0.0);
}

}  // namespace
