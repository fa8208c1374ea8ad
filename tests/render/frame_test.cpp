// Whole display passes in a real GL context, as the program runs them: the backdrop of each
// background set, the robot's display lists across render modes, manual mode with its captures,
// the return from manual mode, and a sky quadric that cannot be made.
#include "render/frame.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/toolkit.h"
#include "platform/view_state.h"
#include "app/window.h"
#include "model/model_library.h"
#include "motion/part_table.h"
#include "motion/rig.h"
#include "platform/clock.h"
#include "render/backdrop.h"
#include "render/frame_capture.h"
#include "render/ground_scroll.h"
#include "render/random_draws.h"
#include "render/texture_set.h"
#include "support/gl_failure_injection.h"
#include "support/gl_probe.h"
#include "support/global_tables_reset.h"
#include "support/scratch_dir.h"
#include "support/test_textures.h"

namespace {

uint32_t fakeNow = 0;
uint32_t FakeClock() { return fakeNow; }
int swaps = 0;
void CountSwap() { ++swaps; }

// Ground texel under the fixed light: ambient 0.3 plus the diffuse term of a floor facing up.
Rgb LitGround(Rgb texel) {
  const double light = 0.3 + 7.0 / std::sqrt(101.0);
  auto c = [&](unsigned char v) { return static_cast<unsigned char>(std::lround(v * light)); };
  return {c(texel.r), c(texel.g), c(texel.b)};
}

// Pixels of the untextured grey robot material (ground and sky are never grey).
int GreyPixels() {
  const std::vector<unsigned char> s = ReadSurface();
  int count = 0;
  for (size_t i = 0; i < s.size(); i += 3) count += s[i] == s[i + 1] && s[i + 1] == s[i + 2] && s[i] > 20;
  return count;
}

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(UseGlobalTestTextures());
    saved = viewState;
    savedToolkit = toolkit;
    savedCount = savedFrameCount;
    viewState = ViewState{};
    viewState.windowWidth = viewState.windowHeight = TestSurfaceSize;
    toolkit.swapBuffers = CountSwap;
    swaps = 0;
    fakeNow = 50000000;
    SetClockSource(FakeClock);
    ResetModelLibrary();
    ResetPartTable();
    InitGlState();
    ReshapeWindow(TestSurfaceSize, TestSurfaceSize);
    glGetError();  // the pbuffer has no back buffer to select
    lastBoundSlot = -1;
  }
  void TearDown() override {
    SetClockSource(nullptr);
    viewState = saved;
    toolkit = savedToolkit;
    savedFrameCount = savedCount;
    BeginCaptureRun();
    ResetPartTable();
    ResetModelLibrary();
  }
  ScratchDir scratch;
  ViewState saved{};
  ToolkitCalls savedToolkit{};
  int32_t savedCount = 0;
};

TEST_F(FrameTest, BackdropShowsTheTexturesOfEachBackgroundSet) {
  BuildRig();  // every mesh empty: ground and sky only
  DisplayFrame();
  EXPECT_EQ(swaps, 1);
  EXPECT_TRUE(Near(PixelAt(32, 2), LitGround(TestTextureColour(9)), 2));  // grass, under white
  const Rgb sky = PixelAt(32, 61);  // slot 8's white picture under the sky colour (0.6, 0.6, 1.0)
  EXPECT_NEAR(sky.r, sky.g, 1);
  EXPECT_NEAR(sky.r / static_cast<double>(sky.b), 0.6, 0.02);
  viewState.backgroundSet = 1;
  DisplayFrame();
  EXPECT_TRUE(Near(PixelAt(32, 2), LitGround(TestTextureColour(7)), 2));
  const Rgb stars = PixelAt(32, 61);  // slot 6's pure green picture
  EXPECT_TRUE(stars.r == 0 && stars.b == 0 && stars.g > 40);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(FrameTest, FirstTexturedFrameCompilesEveryListAndDrawsOffsetsInTraversalOrder) {
  for (int slot = 0; slot < 23; ++slot) {  // slot 22 belongs to no part; all far below the floor
    const double xs[3] = {0.0, 0.01 * (slot + 1), 0.0}, ys[3] = {0.0, 0.0, 0.02}, zs[3] = {-50.0, -50.0, -50.0};
    for (int t = 0; t <= slot % 3; ++t) modelLibrary.slots[slot].AddTriangle(xs, ys, zs);
  }
  BuildRig();
  uint32_t state = RandomDrawState();
  DisplayFrame();
  // Root 4, then its children 5, 6, 1 (with 0) and 3 (with 2), meshes in part order.
  for (int slot : {18, 19, 20, 21, 5, 6, 7, 8, 0, 1, 2, 3, 4, 14, 15, 16, 17, 9, 10, 11, 12, 13}) {
    const MeshObject& mesh = modelLibrary.slots[slot];
    EXPECT_TRUE(mesh.listBuilt && mesh.listTextured) << slot;
    for (int t = 0; t < mesh.triangleCount; ++t) {
      EXPECT_EQ(mesh.texOffsets[t][0], NextRandomDraw(state) / 32767.0) << slot << ":" << t;
      EXPECT_EQ(mesh.texOffsets[t][1], NextRandomDraw(state) / 32767.0) << slot << ":" << t;
    }
  }
  EXPECT_EQ(RandomDrawState(), state);
  EXPECT_FALSE(modelLibrary.slots[22].listBuilt);
  viewState.textured = 0;  // Solid: every list rebuilt for Solid, the pattern kept
  DisplayFrame();
  for (int slot = 0; slot < 22; ++slot) EXPECT_FALSE(modelLibrary.slots[slot].listTextured) << slot;
  EXPECT_EQ(RandomDrawState(), state);
}

TEST_F(FrameTest, RobotListsAreRebuiltOnlyByATexturedSolidChange) {
  // A big grey triangle of the root part, facing the camera across the rig's centre.
  MeshObject& mesh = modelLibrary.slots[19];
  const double xs[3] = {-6.0, 2.0, -2.0}, ys[3] = {2.0, 2.0, 2.0}, zs[3] = {-1.0, -1.0, 9.0};
  mesh.AddTriangle(xs, ys, zs);
  mesh.materials[0] = 3;
  auto shiftY = [&](double dy) {  // behind the camera and back, behind the cache's back
    for (int k = 0; k < 3; ++k) mesh.cornerY[0][k] += dy;
  };
  BuildRig();
  DisplayFrame();
  const int filled = GreyPixels();
  ASSERT_GT(filled, 500);
  shiftY(-100.0);
  DisplayFrame();  // replayed: still there
  EXPECT_EQ(GreyPixels(), filled);
  viewState.textured = 0;
  DisplayFrame();  // Solid: rebuilt from the moved mesh
  EXPECT_EQ(GreyPixels(), 0);
  shiftY(100.0);
  DisplayFrame();  // replayed
  EXPECT_EQ(GreyPixels(), 0);
  viewState.wireframe = 1;
  DisplayFrame();  // drawn as it is now, edges only
  EXPECT_GT(GreyPixels(), 20);
  EXPECT_LT(GreyPixels(), filled / 2);
  viewState.wireframe = 0;
  DisplayFrame();  // back to Solid: the old list, nothing rebuilt
  EXPECT_EQ(GreyPixels(), 0);
}

TEST_F(FrameTest, ManualModeSavesThePreviousImageAndStepsTheClock) {
  WorkingDirectoryScope inScratch(scratch.Path());
  ASSERT_TRUE(scratch.MakeDir("images"));
  BuildRig();
  DisplayFrame();
  const double scrollBefore = groundScroll;
  glClearColor(1.0f, 0.0f, 0.0f, 1.0f);  // what the buffer holds when the manual pass starts
  glClear(GL_COLOR_BUFFER_BIT);
  glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
  viewState.manualMode = 1;
  savedFrameCount = 7;
  fakeNow += 5;
  testing::internal::CaptureStdout();
  DisplayFrame();  // starts the manual clock from the system clock
  fakeNow += 1000;  // from now on the system clock does not matter
  DisplayFrame();
  std::fflush(stdout);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Wrote 64 x 64 pixels image to file (12288 bytes)\nWrote 64 x 64 pixels image to file (12288 bytes)\n");
  EXPECT_EQ(viewState.manualClock, 50000000u + 5u + 66u + 66u);
  EXPECT_EQ(lastFrameTime, viewState.manualClock);
  EXPECT_EQ(savedFrameCount, 9);
  EXPECT_EQ(swaps, 3);
  EXPECT_DOUBLE_EQ(groundScroll, WrapGroundScroll(WrapGroundScroll(scrollBefore + 71.0 / 2000.0) + 66.0 / 2000.0));
  const size_t header = std::string("P6\n# CREATOR: glDumpWindowPPM() by Wexmoor\n64 64\n255\n").size();
  const std::string first = ReadWholeFile("images/image007.ppm");
  const std::string second = ReadWholeFile("images/image008.ppm");
  ASSERT_EQ(first.size(), header + 12288);
  ASSERT_EQ(second.size(), header + 12288);
  std::string allRed;
  for (int i = 0; i < 64 * 64; ++i) allRed += std::string("\xFF\0\0", 3);
  EXPECT_EQ(first.substr(header), allRed);  // captured before the pass cleared anything
  EXPECT_NE(second.substr(header, 3), std::string("\xFF\0\0", 3));  // the first manual pass's sky
}

TEST_F(FrameTest, LeavingManualModeAheadOfTheClockKeepsPartsOnTheirWave) {
  WorkingDirectoryScope inScratch(scratch.Path());
  ASSERT_TRUE(scratch.MakeDir("images"));
  BuildRig();
  viewState.manualMode = 1;
  testing::internal::CaptureStdout();
  for (int i = 0; i < 40; ++i) DisplayFrame();  // the manual clock runs 2640 ms ahead
  testing::internal::GetCapturedStdout();
  viewState.manualMode = 0;  // key d
  viewState.manualClock = 0;
  fakeNow += 10;
  DisplayFrame();
  for (int part : {0, 2, 4, 5, 6}) {
    const RigPart& p = partTable.parts[part];
    EXPECT_LE(fakeNow - p.startTime, p.period) << "part " << part << " is off its wave";
  }
  EXPECT_TRUE(groundScroll >= 0.0 && groundScroll <= 2.5);
}

TEST_F(FrameTest, SkyWithoutAQuadricIsLeftOut) {
  BuildRig();
  if (skyQuadric != nullptr) gluDeleteQuadric(skyQuadric);
  skyQuadric = nullptr;
  FailNextQuadricCreation();
  DisplayFrame();
  EXPECT_EQ(skyQuadric, nullptr);
  EXPECT_TRUE(Near(PixelAt(32, 61), {0, 0, 0}, 0));  // the clear colour where the sky would be
  EXPECT_TRUE(Near(PixelAt(32, 2), LitGround(TestTextureColour(9)), 2));  // the rest is there
  DisplayFrame();  // the next pass tries again
  EXPECT_NE(skyQuadric, nullptr);
  EXPECT_FALSE(Near(PixelAt(32, 61), {0, 0, 0}, 0));
}

}  // namespace
