// Drawing a mesh directly when no list name can be had; the texture set: the textures' sizes and
// filters, the upload of packed rows, the skipping of redundant binds and the release of the
// names. Colours, offsets and the list cache are compared with the per-triangle stream and the
// approved pictures (fast_stream_test.cpp).
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "model/mesh_object.h"
#include "platform/view_state.h"
#include "render/texture_set.h"
#include "support/gl_test.h"
#include "support/scratch_dir.h"

namespace {

const Rgb Grey = {77, 77, 77};

class MeshDraw : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(UseGlobalTestTextures());
    UseFlatColourLighting();
    // A grey triangle covering pixel (16, 12).
    const double xs[3] = {-0.7, 0.3, 0.3}, ys[3] = {-0.7, -0.7, 0.3}, zs[3] = {};
    mesh.AddTriangle(xs, ys, zs);
    mesh.materials[0] = 3;
  }
  void TearDown() override {
    viewState = saved;
    lastBoundSlot = -1;
  }
  Rgb Draw(bool textured) {
    viewState.textured = textured;
    glClear(GL_COLOR_BUFFER_BIT);
    mesh.DrawMeshCached();
    return PixelAt(16, 12);
  }
  ViewState saved = viewState;
  MeshObject mesh;
};

TEST_F(MeshDraw, WithoutAListNameTheMeshIsDrawnDirectly) {
  FailNextListCreation();
  EXPECT_TRUE(Near(Draw(false), Grey, 1));
  EXPECT_FALSE(mesh.listBuilt);
  Draw(false);
  const GLuint old = mesh.displayList;
  FailNextListCreation();  // a rebuild without a name drops the old list and still draws
  EXPECT_TRUE(Near(Draw(true), Grey, 1));
  EXPECT_FALSE(mesh.listBuilt);
  EXPECT_FALSE(glIsList(old));
}

TEST_F(MeshDraw, TextureFilesBecomeLinearTexturesAndRedundantBindsAreSkipped) {
  ScratchDir scratch;
  ASSERT_TRUE(scratch.MakeDir("tex"));
  // Slot 0 a 3 x 2 picture (rows not a multiple of 4 bytes), the others 16 x 8 and black; slot 6's
  // file is missing. Which file fills which slot shows in the approved walk pictures.
  const char* files[TextureSlotCount] = {
      "tex/gray1.bmp", "tex/gray2.bmp", "tex/blue1.bmp", "", "", "", "tex/stars2.bmp",
      "tex/gray3.bmp", "tex/sky1.bmp",  "tex/grass.bmp"};
  auto pattern = +[](int x, int y) {
    return Rgb{static_cast<unsigned char>(10 * x + 1), static_cast<unsigned char>(100 + y), 7};
  };
  for (int slot = 0; slot < TextureSlotCount; ++slot)
    if (slot < 3 || slot > 6)
      WriteBmp24(scratch.File(files[slot]), slot ? 16 : 3, slot ? 8 : 2, slot ? nullptr : pattern);
  GLuint names[TextureSlotCount];
  {
    TextureSet set;
    WorkingDirectoryScope inScratch(scratch.Path());
    set.LoadTextureFiles();
    lastBoundSlot = -1;
    set.CreateTextures();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    for (int slot = 0; slot < TextureSlotCount; ++slot) {
      const bool loaded = slot < 3 || slot > 6;
      std::array<GLint, 4> size = {};  // width, height, filters; GL's defaults without an image
      glBindTexture(GL_TEXTURE_2D, set.textureNames[slot]);
      glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &size[0]);
      glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &size[1]);
      glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &size[2]);
      glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &size[3]);
      const std::array<GLint, 4> expected = {loaded * (slot ? 16 : 3), loaded * (slot ? 8 : 2),
                                             loaded ? GL_LINEAR : GL_NEAREST_MIPMAP_LINEAR, GL_LINEAR};
      EXPECT_EQ(size, expected) << slot;
    }
    // Slot 0's packed rows, bottom row first, uploaded with byte alignment; the default is back.
    const std::vector<unsigned char> packed = {1, 100, 7, 11, 100, 7, 21, 100, 7, 1, 101, 7, 11, 101, 7, 21, 101, 7};
    std::vector<unsigned char> texels(18);
    glBindTexture(GL_TEXTURE_2D, set.textureNames[0]);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(texels, packed);
    EXPECT_EQ(alignment, 4);
    // The first BindSlot after creation binds; the same slot again does not; a stray slot is ignored.
    std::array<GLint, 3> bound = {};
    for (int i = 0; i < 3; ++i) {
      glBindTexture(GL_TEXTURE_2D, 0);
      set.BindSlot(i < 2 ? 9 : 10);
      glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound[i]);
    }
    EXPECT_EQ(bound, (std::array<GLint, 3>{static_cast<GLint>(set.textureNames[9]), 0, 0}));
    std::memcpy(names, set.textureNames, sizeof names);
  }
  EXPECT_FALSE(glIsTexture(names[2]));  // deleted with the set
  EXPECT_FALSE(glIsTexture(names[9]));
}

}  // namespace
