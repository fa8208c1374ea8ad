// The texture set in a real GL context: which files become which textures, with their sizes and
// filters, silent missing files, the skipping of redundant binds, and the release of the names.
#include "render/texture_set.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>

#include "support/bmp_writer.h"
#include "support/gl_test_context.h"
#include "support/scratch_dir.h"

namespace {

// Width * 100 + height of a texture, and the sum of its two filters.
int SizeAndFilters(GLuint name, int* filters) {
  GLint values[4] = {};
  glBindTexture(GL_TEXTURE_2D, name);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &values[0]);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &values[1]);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &values[2]);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &values[3]);
  *filters = values[2] + values[3];
  return values[0] * 100 + values[1];
}

TEST(TextureSet, FilesBecomeLinearTexturesAndRedundantBindsAreSkipped) {
  ASSERT_TRUE(UseTestGlContext());
  ScratchDir scratch;
  ASSERT_TRUE(scratch.MakeDir("tex"));
  // Slot 0 a 3 x 2 picture (rows not a multiple of 4 bytes), the others 16 x 8 of one colour each;
  // slot 6's file is missing.
  const char* files[TextureSlotCount] = {
      "tex/gray1.bmp", "tex/gray2.bmp", "tex/blue1.bmp", "", "", "", "tex/stars2.bmp",
      "tex/gray3.bmp", "tex/sky1.bmp",  "tex/grass.bmp"};
  for (int slot = 0; slot < TextureSlotCount; ++slot) {
    const Rgb fill = {static_cast<unsigned char>(slot * 20), 9, 9};
    auto pattern = +[](int x, int y) {
      return Rgb{static_cast<unsigned char>(10 * x + 1), static_cast<unsigned char>(100 + y), 7};
    };
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
      int filters = 0;
      EXPECT_EQ(SizeAndFilters(set.textureNames[slot], &filters), loaded ? slot ? 1608 : 302 : 0)
          << slot;  // empty: no image
      EXPECT_EQ(filters == 2 * GL_LINEAR, loaded) << slot;
      EXPECT_EQ(set.pixels[slot] != nullptr ? set.pixels[slot][0] : -1, slot == 0 ? 1
                                                                        : loaded  ? slot * 20
                                                                                  : -1)
          << slot;  // its own file, red first
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
  lastBoundSlot = -1;
}

}  // namespace
