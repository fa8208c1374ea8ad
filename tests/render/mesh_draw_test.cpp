// Drawing one mesh in a real GL context: material and texture colours per render mode, the
// display-list cache, the texture offsets, the binds a list records, and direct drawing when no
// list name can be had. Then the texture set: which files become which textures, with their sizes
// and filters, silent missing files, the skipping of redundant binds, and the release of the names.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>

#include "model/mesh_object.h"
#include "platform/view_state.h"
#include "render/random_draws.h"
#include "render/texture_set.h"
#include "render/textured_batch.h"
#include "support/gl_test.h"
#include "support/scratch_dir.h"

namespace {

const Rgb Grey = {77, 77, 77}, Black = {0, 0, 0};

class MeshDraw : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(UseGlobalTestTextures());
    UseFlatColourLighting();
  }
  void TearDown() override {
    viewState = saved;
    lastBoundSlot = -1;
  }
  // A right triangle with its right angle at pixel (x, y) and legs of `size` pixels along +x and +y.
  void Add(int x, int y, int size, MaterialIndex material, int height = 0) {
    auto ndc = [](double pixel) { return (pixel + 0.5) / 32.0 - 1.0; };
    const double xs[3] = {ndc(x), ndc(x + size), ndc(x + size)},
                 ys[3] = {ndc(y), ndc(y), ndc(y + (height ? height : size))}, zs[3] = {};
    mesh.AddTriangle(xs, ys, zs);
    mesh.materials[mesh.triangleCount - 1] = material;
  }
  // Draws in a mode (0 Textured, 1 Solid, 2 Wireframe) and returns the pixel inside the triangle at (x, y).
  Rgb Draw(int mode, int x = 10, int y = 10) {
    viewState.textured = mode == 0;
    viewState.wireframe = mode == 2;
    glClear(GL_COLOR_BUFFER_BIT);
    if (mode == 2) glEnable(GL_TEXTURE_2D);  // as the backdrop leaves it
    mode == 2 ? mesh.DrawMeshWireframe() : mesh.DrawMeshCached();
    return PixelAt(x + 6, y + 2);
  }
  ViewState saved = viewState;
  MeshObject mesh;
};

TEST_F(MeshDraw, ColoursInEachRenderMode) {
  const MaterialIndex materials[6] = {0, 1, 2, 3, -1, 7};
  const Rgb solid[6] = {{77, 51, 102}, {179, 179, 179}, {179, 179, 230}, Grey, Grey, Grey};
  for (int i = 0; i < 6; ++i) Add(2 + 20 * (i % 3), 4 + 30 * (i / 3), 16, materials[i]);
  for (int mode : {1, 0, 2}) {
    for (int i = 0; i < 6; ++i) {
      const Rgb want = mode == 2 ? Black : mode == 0 && i < 3 ? TestTextureColour(i) : solid[i];
      EXPECT_TRUE(Near(Draw(mode, 2 + 20 * (i % 3), 4 + 30 * (i / 3)), want, 1))
          << "mode " << mode << " triangle " << i;
    }
  }
  EXPECT_TRUE(Near(PixelAt(10, 4), solid[0], 1));  // a wireframe edge, in the material colour
  EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D) || textureBatchOpen);
}

TEST_F(MeshDraw, ListIsReplayedUntilTheTexturedFlagChangesAndOffsetsAreChosenOnce) {
  uint32_t state = 1;  // the unseeded generator
  EXPECT_EQ(NextRandomDraw(state) * 100000 + NextRandomDraw(state), 4118467);
  Add(10, 10, 30, 3);
  Add(45, 2, 13, 1);
  Add(50, 20, 4, 3, 40);
  state = RandomDrawState();
  ASSERT_TRUE(Near(Draw(0), Grey, 1));
  for (int t = 0; t < 3; ++t) {  // in index order, u before v, whatever the material
    EXPECT_EQ(mesh.texOffsets[t][0], NextRandomDraw(state) / 32767.0) << t;
    EXPECT_EQ(mesh.texOffsets[t][1], NextRandomDraw(state) / 32767.0) << t;
  }
  double a[2], b[2], c[2];  // AB and BC span their share of the mesh's longest AB and BC
  mesh.TriangleTexCoords(1, a, b, c);
  EXPECT_NEAR(b[0], a[0] + 13.0 / 30.0, 1e-12);
  EXPECT_NEAR(c[1], a[1] + 13.0 / 40.0, 1e-12);
  for (int k = 0; k < 3; ++k) mesh.cornerX[0][k] += 1.5;  // moved behind the cache's back
  const Rgb expected[6] = {Grey, Black, Grey, Black, Black, Grey};
  const int modes[6] = {0, 2, 0, 1, 1, 0};  // replayed, wireframe, replayed, rebuilt, replayed, rebuilt
  for (int i = 0; i < 6; ++i) {
    if (i == 4)
      for (int k = 0; k < 3; ++k) mesh.cornerX[0][k] -= 1.5;
    EXPECT_TRUE(Near(Draw(modes[i]), expected[i], 1)) << "step " << i;
  }
  EXPECT_EQ(RandomDrawState(), state);
}

TEST_F(MeshDraw, CompiledListRecordsBindsOnlyWhereTheSlotChanges) {
  Add(2, 2, 16, 1);
  Add(22, 2, 16, 0);
  Add(42, 2, 16, 0);
  lastBoundSlot = 1;  // slot 1 counts as bound already: its triangle records no bind
  Draw(0);
  EXPECT_EQ(lastBoundSlot, 0);
  glBindTexture(GL_TEXTURE_2D, textureSet.textureNames[2]);
  const Rgb want[3] = {TestTextureColour(2), TestTextureColour(0), TestTextureColour(0)};
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(Near(Draw(0, 2 + 20 * i, 2), want[i], 1)) << i;  // replayed
}

TEST_F(MeshDraw, WithoutAListNameTheMeshIsDrawnDirectly) {
  Add(10, 10, 30, 3);
  FailNextListCreation();
  EXPECT_TRUE(Near(Draw(1), Grey, 1));
  EXPECT_FALSE(mesh.listBuilt);
  Draw(1);
  const GLuint old = mesh.displayList;
  FailNextListCreation();  // a rebuild without a name drops the old list and still draws
  EXPECT_TRUE(Near(Draw(0), Grey, 1));
  EXPECT_FALSE(mesh.listBuilt || glIsList(old));
}

TEST_F(MeshDraw, TextureFilesBecomeLinearTexturesAndRedundantBindsAreSkipped) {
  ScratchDir scratch;
  ASSERT_TRUE(scratch.MakeDir("tex"));
  // Slot 0 a 3 x 2 picture (rows not a multiple of 4 bytes), the others 16 x 8 of one colour each;
  // slot 6's file is missing.
  const char* files[TextureSlotCount] = {
      "tex/gray1.bmp", "tex/gray2.bmp", "tex/blue1.bmp", "", "", "", "tex/stars2.bmp",
      "tex/gray3.bmp", "tex/sky1.bmp",  "tex/grass.bmp"};
  auto pattern = +[](int x, int y) {
    return Rgb{static_cast<unsigned char>(10 * x + 1), static_cast<unsigned char>(100 + y), 7};
  };
  for (int slot = 0; slot < TextureSlotCount; ++slot) {
    const Rgb fill = {static_cast<unsigned char>(slot * 20), 9, 9};
    if (slot < 3 || slot > 6)
      WriteBmp24(scratch.File(files[slot]), slot ? 16 : 3, slot ? 8 : 2, slot ? nullptr : pattern, fill);
  }
  GLuint names[TextureSlotCount];
  {
    TextureSet set;
    WorkingDirectoryScope inScratch(scratch.Path());
    testing::internal::CaptureStderr();
    set.LoadTextureFiles();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // a missing file is silent
    lastBoundSlot = -1;
    set.CreateTextures();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    for (int slot = 0; slot < TextureSlotCount; ++slot) {
      const bool loaded = slot < 3 || slot > 6;
      GLint size[4] = {};  // width, height, filters; all 0 with no image
      glBindTexture(GL_TEXTURE_2D, set.textureNames[slot]);
      glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &size[0]);
      glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &size[1]);
      glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &size[2]);
      glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &size[3]);
      EXPECT_EQ(size[0] * 100 + size[1], loaded ? slot ? 1608 : 302 : 0) << slot;
      EXPECT_EQ(size[2] + size[3] == 2 * GL_LINEAR, loaded) << slot;
      const int red = loaded ? slot ? slot * 20 : 1 : -1;  // its own file, red first
      EXPECT_EQ(set.pixels[slot] != nullptr ? set.pixels[slot][0] : -1, red) << slot;
    }
    // Slot 0's packed rows, bottom row first, uploaded with byte alignment; the default is back.
    const unsigned char packed[18] = {1, 100, 7, 11, 100, 7, 21, 100, 7, 1, 101, 7, 11, 101, 7, 21, 101, 7};
    unsigned char texels[18] = {};
    glBindTexture(GL_TEXTURE_2D, set.textureNames[0]);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(std::memcmp(texels, packed, sizeof packed) + alignment, 4);
    // The first BindSlot after creation binds; the same slot again does not; a stray slot is ignored.
    GLint bound[3] = {};
    for (int i = 0; i < 3; ++i) {
      glBindTexture(GL_TEXTURE_2D, 0);
      set.BindSlot(i < 2 ? 9 : 10);
      glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound[i]);
    }
    EXPECT_EQ(bound[0] * 100 + bound[1] * 10 + bound[2], static_cast<GLint>(set.textureNames[9]) * 100);
    std::memcpy(names, set.textureNames, sizeof names);
  }
  EXPECT_FALSE(glIsTexture(names[2]) || glIsTexture(names[9]));  // deleted with the set
}

}  // namespace
