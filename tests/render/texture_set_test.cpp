// The texture set in a real GL context: which files become which textures, their parameters,
// empty slots, and the skipping of redundant binds.
#include "render/texture_set.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "support/bmp_writer.h"
#include "support/gl_probe.h"
#include "support/gl_test_context.h"
#include "support/scratch_dir.h"

namespace {

Rgb Pattern3x2(int x, int y) { return {static_cast<unsigned char>(10 * x + 1), static_cast<unsigned char>(100 + y), 7}; }

GLint BoundTexture() {
  GLint name = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
  return name;
}

GLint LevelParameter(GLuint name, GLenum parameter) {
  glBindTexture(GL_TEXTURE_2D, name);
  GLint value = -1;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, parameter, &value);
  return value;
}

GLint Parameter(GLuint name, GLenum parameter) {
  glBindTexture(GL_TEXTURE_2D, name);
  GLint value = -1;
  glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
  return value;
}

class TextureSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(UseTestGlContext(TestSurfaceSize, TestSurfaceSize), nullptr);
    ASSERT_FALSE(scratch.Path().empty());
    ASSERT_TRUE(scratch.MakeDir("tex"));
    savedLastBound = lastBoundSlot;
  }
  void TearDown() override { lastBoundSlot = savedLastBound; }
  // Writes the slot table's files except those named in `missing` (slot 0 gets a 3 x 2 picture,
  // the others 16 x 8 of one colour), then loads them into `set`, inside the scratch directory.
  void Load(TextureSet& set, std::initializer_list<int> missing) {
    for (const TextureSlotFile& entry : TextureSlotFiles) {
      bool skip = false;
      for (int slot : missing) skip = skip || slot == entry.slot;
      if (skip) continue;
      const std::string path = scratch.File(entry.fileName);
      if (entry.slot == 0) {
        ASSERT_TRUE(WriteBmp24(path, 3, 2, Pattern3x2));
      } else {
        ASSERT_TRUE(WriteUniformBmp24(path, 16, 8, {static_cast<unsigned char>(entry.slot * 20), 9, 9}));
      }
    }
    WorkingDirectoryScope inScratch(scratch.Path());
    set.LoadTextureFiles();
  }
  ScratchDir scratch;
  int32_t savedLastBound = -1;
};

TEST_F(TextureSetTest, LoadsPresentFilesAndLeavesMissingSlotsEmptySilently) {
  TextureSet set;
  testing::internal::CaptureStderr();
  Load(set, {6, 9});
  const std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_EQ(errors, "");  // a missing file is no error
  for (int slot : {3, 4, 5, 6, 9}) EXPECT_EQ(set.pixels[slot], nullptr) << slot;
  for (int slot : {1, 2, 7, 8}) {
    ASSERT_NE(set.pixels[slot], nullptr) << slot;
    EXPECT_EQ(set.widths[slot], 16);
    EXPECT_EQ(set.heights[slot], 8);
    EXPECT_EQ(set.pixels[slot][0], slot * 20);  // R, G, B order
    EXPECT_EQ(set.pixels[slot][1], 9);
  }
  ASSERT_NE(set.pixels[0], nullptr);
  EXPECT_EQ(set.widths[0], 3);
  EXPECT_EQ(set.heights[0], 2);
  // Packed rows, bottom row first.
  const unsigned char expected[18] = {1, 100, 7, 11, 100, 7, 21, 100, 7, 1, 101, 7, 11, 101, 7, 21, 101, 7};
  EXPECT_EQ(std::memcmp(set.pixels[0], expected, sizeof expected), 0);
  EXPECT_EQ(ReadImageFile(nullptr), nullptr);
}

TEST_F(TextureSetTest, UndecodableFileLeavesItsSlotEmptyWithTheLoadersOneMessage) {
  std::FILE* junk = std::fopen(scratch.File("tex/gray2.bmp").c_str(), "wb");
  ASSERT_NE(junk, nullptr);
  std::fputs("this is not a picture", junk);
  std::fclose(junk);
  TextureSet set;
  testing::internal::CaptureStderr();
  {
    WorkingDirectoryScope inScratch(scratch.Path());
    set.LoadTextureFiles();
  }
  const std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_EQ(set.pixels[1], nullptr);
  EXPECT_EQ(errors.rfind("Error: ", 0), 0u) << errors;
  EXPECT_EQ(errors.find('\n'), errors.size() - 1) << "exactly one line: " << errors;
}

TEST_F(TextureSetTest, CreatedTexturesHaveTheImageSizesAndLinearFilters) {
  TextureSet set;
  Load(set, {6});
  lastBoundSlot = -1;
  set.CreateTextures();
  for (int slot = 0; slot < TextureSlotCount; ++slot) {
    EXPECT_NE(set.textureNames[slot], 0xFFFFFFFFu);
    for (int other = 0; other < slot; ++other) EXPECT_NE(set.textureNames[slot], set.textureNames[other]);
  }
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  // The last upload leaves the highest loaded slot bound, but the bind record is untouched.
  EXPECT_EQ(BoundTexture(), static_cast<GLint>(set.textureNames[9]));
  EXPECT_EQ(lastBoundSlot, -1);
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 4);
  for (int slot : {0, 1, 2, 7, 8, 9}) {
    const GLuint name = set.textureNames[slot];
    EXPECT_EQ(LevelParameter(name, GL_TEXTURE_WIDTH), set.widths[slot]) << slot;
    EXPECT_EQ(LevelParameter(name, GL_TEXTURE_HEIGHT), set.heights[slot]) << slot;
    EXPECT_EQ(Parameter(name, GL_TEXTURE_MIN_FILTER), GL_LINEAR) << slot;
    EXPECT_EQ(Parameter(name, GL_TEXTURE_MAG_FILTER), GL_LINEAR) << slot;
    EXPECT_EQ(Parameter(name, GL_TEXTURE_WRAP_S), GL_REPEAT) << slot;
    EXPECT_EQ(Parameter(name, GL_TEXTURE_WRAP_T), GL_REPEAT) << slot;
  }
  // Empty slots have a name but no image: incomplete, so their surfaces stay untextured.
  for (int slot : {3, 4, 5, 6}) EXPECT_EQ(LevelParameter(set.textureNames[slot], GL_TEXTURE_WIDTH), 0) << slot;
  // A 3-pixel-wide picture arrives unskewed: its packed rows are read as packed.
  unsigned char texels[18] = {};
  glBindTexture(GL_TEXTURE_2D, set.textureNames[0]);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  EXPECT_EQ(std::memcmp(texels, set.pixels[0], sizeof texels), 0);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureSetTest, BindSlotSkipsRedundantBinds) {
  TextureSet set;
  Load(set, {});
  lastBoundSlot = -1;
  set.CreateTextures();
  // Slot 9's texture is already bound after creation, but the first BindSlot still binds: seen by
  // binding something else behind its back first.
  glBindTexture(GL_TEXTURE_2D, 0);
  set.BindSlot(9);
  EXPECT_EQ(BoundTexture(), static_cast<GLint>(set.textureNames[9]));
  EXPECT_EQ(lastBoundSlot, 9);
  glBindTexture(GL_TEXTURE_2D, 0);
  set.BindSlot(9);  // same slot again: no bind
  EXPECT_EQ(BoundTexture(), 0);
  set.BindSlot(2);
  EXPECT_EQ(BoundTexture(), static_cast<GLint>(set.textureNames[2]));
  set.BindSlot(9);
  EXPECT_EQ(BoundTexture(), static_cast<GLint>(set.textureNames[9]));
  // A slot outside the table neither binds nor changes the record.
  set.BindSlot(10);
  set.BindSlot(-7);
  EXPECT_EQ(BoundTexture(), static_cast<GLint>(set.textureNames[9]));
  EXPECT_EQ(lastBoundSlot, 9);
}

TEST_F(TextureSetTest, DestructionDeletesTheTexturesOfTheCurrentContext) {
  GLuint names[TextureSlotCount];
  {
    TextureSet set;
    Load(set, {});
    set.CreateTextures();
    std::memcpy(names, set.textureNames, sizeof names);
    EXPECT_TRUE(glIsTexture(names[9]));
  }
  for (GLuint name : names) EXPECT_FALSE(glIsTexture(name)) << name;
}

}  // namespace
