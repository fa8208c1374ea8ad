// The texture set in a real GL context: which files become which textures, their sizes and
// parameters, empty slots, and the skipping of redundant binds.
#include "render/texture_set.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string>

#include "support/bmp_writer.h"
#include "support/gl_test_context.h"
#include "support/scratch_dir.h"

namespace {

Rgb Pattern3x2(int x, int y) { return {static_cast<unsigned char>(10 * x + 1), static_cast<unsigned char>(100 + y), 7}; }

GLint Bound() {
  GLint name = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
  return name;
}

GLint Query(GLuint name, GLenum parameter, bool level) {
  glBindTexture(GL_TEXTURE_2D, name);
  GLint value = -1;
  if (level) {
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, parameter, &value);
  } else {
    glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
  }
  return value;
}

class TextureSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(UseTestGlContext());
    ASSERT_TRUE(scratch.MakeDir("tex"));
    lastBoundSlot = -1;
  }
  // Writes the slot table's files except the `missing` slots (slot 0: a 3 x 2 picture, the others
  // 16 x 8 of one colour) and loads them into `set`, working in the scratch directory.
  void Load(TextureSet& set, std::initializer_list<int> missing) {
    for (const TextureSlotFile& entry : TextureSlotFiles) {
      if (std::find(missing.begin(), missing.end(), entry.slot) != missing.end()) continue;
      const std::string path = scratch.File(entry.fileName);
      ASSERT_TRUE(entry.slot == 0 ? WriteBmp24(path, 3, 2, Pattern3x2)
                                  : WriteBmp24(path, 16, 8, nullptr, {static_cast<unsigned char>(entry.slot * 20), 9, 9}));
    }
    WorkingDirectoryScope inScratch(scratch.Path());
    set.LoadTextureFiles();
  }
  ScratchDir scratch;
};

TEST_F(TextureSetTest, LoadedSlotsBecomeLinearTexturesOfTheirSize) {
  TextureSet set;
  testing::internal::CaptureStderr();
  Load(set, {6});
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // a missing file is silent
  for (int slot : {3, 4, 5, 6}) EXPECT_EQ(set.pixels[slot], nullptr) << slot;
  ASSERT_NE(set.pixels[7], nullptr);
  EXPECT_EQ(set.widths[7], 16);
  EXPECT_EQ(set.heights[7], 8);
  EXPECT_EQ(set.pixels[7][0], 140);  // R, G, B order
  // Slot 0 holds packed rows, bottom row first.
  const unsigned char packed[18] = {1, 100, 7, 11, 100, 7, 21, 100, 7, 1, 101, 7, 11, 101, 7, 21, 101, 7};
  ASSERT_NE(set.pixels[0], nullptr);
  EXPECT_EQ(std::memcmp(set.pixels[0], packed, sizeof packed), 0);

  set.CreateTextures();
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_EQ(Bound(), static_cast<GLint>(set.textureNames[9]));  // the last upload stays bound...
  EXPECT_EQ(lastBoundSlot, -1);  // ...but is not recorded as a bind
  for (int slot : {0, 1, 2, 7, 8, 9}) {
    const GLuint name = set.textureNames[slot];
    EXPECT_EQ(Query(name, GL_TEXTURE_WIDTH, true), set.widths[slot]) << slot;
    EXPECT_EQ(Query(name, GL_TEXTURE_HEIGHT, true), set.heights[slot]) << slot;
    for (GLenum filter : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER}) EXPECT_EQ(Query(name, filter, false), GL_LINEAR);
    for (GLenum wrap : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) EXPECT_EQ(Query(name, wrap, false), GL_REPEAT);
  }
  // Empty slots get a name but no image: incomplete, so their surfaces stay untextured.
  for (int slot : {3, 4, 5, 6}) EXPECT_EQ(Query(set.textureNames[slot], GL_TEXTURE_WIDTH, true), 0) << slot;
  // The 3-pixel-wide picture is read as packed rows, and the default alignment is back.
  unsigned char texels[18] = {};
  glBindTexture(GL_TEXTURE_2D, set.textureNames[0]);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  EXPECT_EQ(std::memcmp(texels, packed, sizeof packed), 0);
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 4);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureSetTest, BindSlotSkipsRedundantBinds) {
  GLuint names[TextureSlotCount];
  {
    TextureSet set;
    Load(set, {});
    set.CreateTextures();
    // Slot 9 is bound after creation, yet the first BindSlot binds: seen by binding something else
    // behind its back first. A second BindSlot of the same slot does not.
    glBindTexture(GL_TEXTURE_2D, 0);
    set.BindSlot(9);
    EXPECT_EQ(Bound(), static_cast<GLint>(set.textureNames[9]));
    glBindTexture(GL_TEXTURE_2D, 0);
    set.BindSlot(9);
    EXPECT_EQ(Bound(), 0);
    set.BindSlot(2);
    EXPECT_EQ(Bound(), static_cast<GLint>(set.textureNames[2]));
    set.BindSlot(10);  // outside the table: no bind, no record
    EXPECT_EQ(lastBoundSlot, 2);
    std::memcpy(names, set.textureNames, sizeof names);
  }
  // Destroyed with its context current, the set deleted its textures.
  EXPECT_FALSE(glIsTexture(names[2]));
  EXPECT_FALSE(glIsTexture(names[9]));
}

}  // namespace
