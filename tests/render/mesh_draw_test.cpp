// Drawing one mesh in a real GL context: material and texture colours per render mode, the
// display-list cache (what is replayed, what is rebuilt), texture offsets and coordinates, and the
// direct drawing when no list name can be had.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "app/view_state.h"
#include "model/mesh_object.h"
#include "render/random_draws.h"
#include "render/tex_coords.h"
#include "render/texture_set.h"
#include "render/textured_batch.h"
#include "support/gl_failure_injection.h"
#include "support/gl_probe.h"
#include "support/test_textures.h"

namespace {

// Pixel centre (px, py) of the test surface in normalised device coordinates.
double Ndc(double pixel) { return (pixel + 0.5) / (TestSurfaceSize / 2.0) - 1.0; }

// A right triangle with its right angle at (x, y), legs of `size` pixels along +x and +y.
void AddPixelTriangle(MeshObject& mesh, double x, double y, double size, MaterialIndex material) {
  const double xs[3] = {Ndc(x), Ndc(x + size), Ndc(x + size)};
  const double ys[3] = {Ndc(y), Ndc(y), Ndc(y + size)};
  const double zs[3] = {0.0, 0.0, 0.0};
  mesh.AddTriangle(xs, ys, zs);
  mesh.materials[mesh.triangleCount - 1] = material;
}

// Inside the triangle added at (x, y): near its right-angle corner, off every edge.
Rgb InsideTriangle(int x, int y) { return PixelAt(x + 6, y + 2); }

Rgb Byte(float r, float g, float b) {
  auto c = [](float v) { return static_cast<unsigned char>(std::lround(v * 255.0f)); };
  return {c(r), c(g), c(b)};
}

const Rgb Grey = Byte(0.3f, 0.3f, 0.3f);

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
  static void SetMode(bool textured, bool wireframe) {
    viewState.textured = textured;
    viewState.wireframe = wireframe;
  }
  void Redraw() {
    glClear(GL_COLOR_BUFFER_BIT);
    if (viewState.wireframe) {
      mesh->DrawMeshWireframe();
    } else {
      mesh->DrawMeshCached();
    }
  }
  // Six triangles in a 3 x 2 grid with materials 0, 1, 2, 3, -1 and 7.
  void AddMaterialGrid() {
    const MaterialIndex materials[6] = {0, 1, 2, 3, -1, 7};
    for (int i = 0; i < 6; ++i) AddPixelTriangle(*mesh, 2 + 20 * (i % 3), 4 + 30 * (i / 3), 16, materials[i]);
  }
  Rgb GridCell(int i) { return InsideTriangle(2 + 20 * (i % 3), 4 + 30 * (i / 3)); }

  ViewState saved{};
  std::unique_ptr<MeshObject> mesh;
};

TEST_F(MeshDrawTest, ColoursInEachRenderMode) {
  AddMaterialGrid();
  SetMode(false, false);  // Solid: every material its colour, no texture
  Redraw();
  EXPECT_TRUE(Near(GridCell(0), Byte(0.3f, 0.2f, 0.4f), 1));
  EXPECT_TRUE(Near(GridCell(1), Byte(0.7f, 0.7f, 0.7f), 1));
  EXPECT_TRUE(Near(GridCell(2), Byte(0.7f, 0.7f, 0.9f), 1));
  for (int i : {3, 4, 5}) EXPECT_TRUE(Near(GridCell(i), Grey, 1)) << i;

  SetMode(true, false);  // Textured: materials 0-2 show their slot's picture under white
  Redraw();
  for (int i : {0, 1, 2}) EXPECT_TRUE(Near(GridCell(i), TestTextureColour(i), 1)) << i;
  for (int i : {3, 4, 5}) EXPECT_TRUE(Near(GridCell(i), Grey, 1)) << i;
  EXPECT_FALSE(textureBatchOpen);

  SetMode(false, true);  // Wireframe: interiors stay empty, edges carry the material colour
  Redraw();
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(Near(GridCell(i), {0, 0, 0}, 0)) << i;
  // The horizontal leg of cell 0 runs along pixel row 4.
  EXPECT_TRUE(Near(PixelAt(10, 4), Byte(0.3f, 0.2f, 0.4f), 1));
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(MeshDrawTest, FirstTexturedDrawCompilesAndChoosesOffsetsInOrder) {
  AddMaterialGrid();
  uint32_t state = RandomDrawState();
  SetMode(true, false);
  Redraw();
  EXPECT_TRUE(mesh->listBuilt);
  EXPECT_TRUE(mesh->listTextured);
  EXPECT_TRUE(glIsList(mesh->displayList));
  for (int t = 0; t < mesh->triangleCount; ++t) {
    const double u = NextRandomDraw(state) / 32767.0;
    const double v = NextRandomDraw(state) / 32767.0;
    EXPECT_EQ(mesh->texOffsets[t][0], u) << t;
    EXPECT_EQ(mesh->texOffsets[t][1], v) << t;
  }
  EXPECT_EQ(RandomDrawState(), state);
  // Texture coordinates: AB spans the share of the longest AB edge along s, BC along t.
  double a[2], b[2], c[2];
  mesh->TriangleTexCoords(0, a, b, c);
  EXPECT_EQ(a[0], mesh->texOffsets[0][0]);
  EXPECT_EQ(a[1], mesh->texOffsets[0][1]);
  EXPECT_EQ(b[0], a[0] + 1.0);
  EXPECT_EQ(b[1], a[1]);
  EXPECT_EQ(c[0], a[0] + 1.0);
  EXPECT_EQ(c[1], a[1] + 1.0);
  EXPECT_EQ(RandomDrawState(), state);  // an offset is chosen once
}

TEST(RandomDraws, UnseededSequenceStartsWith41And18467) {
  uint32_t state = 1;
  EXPECT_EQ(NextRandomDraw(state), 41);
  EXPECT_EQ(NextRandomDraw(state), 18467);
  EXPECT_EQ(NextRandomDraw(state), 6334);
  for (int i = 0; i < 100000; ++i) {
    const int draw = NextRandomDraw(state);
    ASSERT_GE(draw, 0);
    ASSERT_LE(draw, RandomDrawMax);
  }
}

TEST_F(MeshDrawTest, CacheReplaysUntilTheTexturedFlagChanges) {
  AddPixelTriangle(*mesh, 10, 10, 30, 3);
  const Rgb inside = Grey;
  auto moveAway = [&] {  // change the mesh behind the cache's back
    for (int k = 0; k < 3; ++k) mesh->cornerX[0][k] += 1.5;
  };
  auto moveBack = [&] {
    for (int k = 0; k < 3; ++k) mesh->cornerX[0][k] -= 1.5;
  };
  SetMode(true, false);
  Redraw();
  ASSERT_TRUE(Near(InsideTriangle(10, 10), inside, 1));
  const uint32_t state = RandomDrawState();
  const double offset[2] = {mesh->texOffsets[0][0], mesh->texOffsets[0][1]};

  moveAway();
  Redraw();  // Textured again: the list replays the old geometry
  EXPECT_TRUE(Near(InsideTriangle(10, 10), inside, 1));

  SetMode(false, true);  // Wireframe draws what is there now and leaves the list alone
  Redraw();
  const GLuint texturedList = mesh->displayList;
  EXPECT_TRUE(mesh->listTextured);
  SetMode(true, false);  // ...so back in Textured mode nothing is rebuilt
  Redraw();
  EXPECT_TRUE(Near(InsideTriangle(10, 10), inside, 1));
  EXPECT_EQ(mesh->displayList, texturedList);

  SetMode(false, false);  // Solid: rebuilt once, from the current geometry
  Redraw();
  EXPECT_FALSE(mesh->listTextured);
  EXPECT_TRUE(Near(InsideTriangle(10, 10), {0, 0, 0}, 0));
  moveBack();
  Redraw();  // Solid again: replayed, not rebuilt
  EXPECT_TRUE(Near(InsideTriangle(10, 10), {0, 0, 0}, 0));

  SetMode(true, false);  // and rebuilt once more for Textured
  Redraw();
  EXPECT_TRUE(mesh->listTextured);
  EXPECT_TRUE(Near(InsideTriangle(10, 10), inside, 1));
  // Rebuilding never chooses new offsets.
  EXPECT_EQ(RandomDrawState(), state);
  EXPECT_EQ(mesh->texOffsets[0][0], offset[0]);
  EXPECT_EQ(mesh->texOffsets[0][1], offset[1]);
}

TEST_F(MeshDrawTest, CompiledListRecordsBindsOnlyWhereTheSlotChanges) {
  AddPixelTriangle(*mesh, 2, 2, 16, 0);
  AddPixelTriangle(*mesh, 22, 2, 16, 0);
  SetMode(true, false);
  // Slot 0 counts as bound already, while slot 1's texture really is: the list records no bind, so
  // a replay shows whatever texture is bound when it runs.
  lastBoundSlot = 0;
  glBindTexture(GL_TEXTURE_2D, textureSet.textureNames[1]);
  Redraw();
  EXPECT_TRUE(Near(InsideTriangle(2, 2), TestTextureColour(1), 1));
  EXPECT_TRUE(Near(InsideTriangle(22, 2), TestTextureColour(1), 1));
  glBindTexture(GL_TEXTURE_2D, textureSet.textureNames[2]);
  Redraw();
  EXPECT_TRUE(Near(InsideTriangle(22, 2), TestTextureColour(2), 1));

  // Compiled from a different slot, the first triangle's bind is recorded and replayed.
  auto other = std::make_unique<MeshObject>();
  AddPixelTriangle(*other, 2, 32, 16, 1);
  AddPixelTriangle(*other, 22, 32, 16, 0);
  AddPixelTriangle(*other, 42, 32, 16, 0);
  lastBoundSlot = 2;
  glClear(GL_COLOR_BUFFER_BIT);
  other->DrawMeshCached();
  EXPECT_EQ(lastBoundSlot, 0);
  glBindTexture(GL_TEXTURE_2D, textureSet.textureNames[2]);
  glClear(GL_COLOR_BUFFER_BIT);
  other->DrawMeshCached();
  EXPECT_TRUE(Near(InsideTriangle(2, 32), TestTextureColour(1), 1));
  EXPECT_TRUE(Near(InsideTriangle(22, 32), TestTextureColour(0), 1));
  EXPECT_TRUE(Near(InsideTriangle(42, 32), TestTextureColour(0), 1));
}

TEST_F(MeshDrawTest, EmptyMeshCompilesAnEmptyListAndDrawsNothing) {
  SetMode(true, false);
  Redraw();
  EXPECT_TRUE(mesh->listBuilt);
  SetMode(false, true);
  Redraw();
  const std::vector<unsigned char> surface = ReadSurface();
  EXPECT_EQ(CountPixels(surface, {0, 0, 0}, 0), TestSurfaceSize * TestSurfaceSize);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(MeshDrawTest, WithoutAListNameTheMeshIsDrawnDirectly) {
  AddPixelTriangle(*mesh, 10, 10, 30, 3);
  SetMode(false, false);
  FailNextListCreation();
  Redraw();
  EXPECT_FALSE(mesh->listBuilt);
  EXPECT_TRUE(Near(InsideTriangle(10, 10), Grey, 1));  // drawn all the same
  EXPECT_NE(mesh->texOffsets[0][0], -1.0);  // through the immediate stream
  Redraw();  // with names available again the cache is used
  EXPECT_TRUE(mesh->listBuilt);
  EXPECT_TRUE(glIsList(mesh->displayList));
  // A list that has to be rebuilt when no name can be had: the old one goes, the mesh is still drawn.
  const GLuint old = mesh->displayList;
  SetMode(true, false);
  FailNextListCreation();
  Redraw();
  EXPECT_FALSE(mesh->listBuilt);
  EXPECT_FALSE(glIsList(old));
  EXPECT_TRUE(Near(InsideTriangle(10, 10), Grey, 1));
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(TexCoords, ZeroLongestEdgeGivesZeroShareNotNaN) {
  EXPECT_EQ(EdgeShare(0.0, 0.0), 0.0);
  EXPECT_EQ(EdgeShare(1.5, 3.0), 0.5);
  MeshObject mesh;
  const double same[3] = {1.0, 1.0, 1.0};
  mesh.AddTriangle(same, same, same);  // every edge 0: both maxima stay 0
  double a[2], b[2], c[2];
  mesh.TriangleTexCoords(0, a, b, c);
  for (const double* corner : {a, b, c}) {
    EXPECT_EQ(corner[0], a[0]);
    EXPECT_EQ(corner[1], a[1]);
  }
  EXPECT_FALSE(std::isnan(a[0]) || std::isnan(a[1]));
  // Only the axis whose longest edge is 0 is affected.
  MeshObject flat;
  const double xs[3] = {0.0, 2.0, 2.0};
  const double zeros[3] = {0.0, 0.0, 0.0};
  flat.AddTriangle(xs, zeros, zeros);  // AB = 2, BC = 0
  flat.TriangleTexCoords(0, a, b, c);
  EXPECT_EQ(b[0], a[0] + 1.0);
  EXPECT_EQ(c[1], a[1]);
}

}  // namespace
