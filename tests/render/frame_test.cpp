// Whole display passes in a real GL context with a settable clock, as the program runs them: the
// backdrop without a sky quadric, manual mode with its captures, and the time base at its edges
// (the clock wrapping past 2^32, readings of exactly 0, manual mode switched many times, speed
// changes before the first manual frame). Then the ground scroll. The saved frames' names and
// failures are judged on the real program (tests/e2e).
#include "render/frame.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/controls.h"
#include "app/window.h"
#include "model/model_library.h"
#include "motion/part_table.h"
#include "motion/rig.h"
#include "platform/clock.h"
#include "platform/toolkit.h"
#include "platform/view_state.h"
#include "render/backdrop.h"
#include "render/frame_capture.h"
#include "render/ground_scroll.h"
#include "render/texture_set.h"
#include "support/gl_test.h"
#include "support/scratch_dir.h"

namespace {

uint32_t fakeNow = 0;
int swaps = 0;
constexpr int MovingParts[5] = {4, 5, 6, 0, 2};

class Frame : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(UseGlobalTestTextures());
    viewState = ViewState{};
    viewState.windowWidth = viewState.windowHeight = TestSurfaceSize;
    toolkit = {[] { ++swaps; }, [] {}, [](int, const char*, int) {}};
    SetClockSource([] { return fakeNow; });
    fakeNow = 50000000;
    modelLibrary.Clear();
    partTable.Clear();
    InitGlState();
    ReshapeWindow(TestSurfaceSize, TestSurfaceSize);
    glGetError();  // the pbuffer has no back buffer to select
    lastBoundSlot = -1;
    savedFrameCount = 0;
  }
  void TearDown() override {
    SetClockSource(nullptr);
    viewState = saved;
    toolkit = savedToolkit;
    partTable.Clear();
    modelLibrary.Clear();
  }
  void Rebuild(uint32_t now) {
    partTable.Clear();
    fakeNow = now;
    BuildRig();
    steady = false;
  }
  void Key(char key) {
    HandleKey(static_cast<unsigned char>(key), 0, 0);
    steady = false;
  }
  // One pass at the system clock reading `now`. Every moving part must be on its wave (within one
  // period after its cycle start) and, unless a key re-timed it or it had not started (start 0), its
  // start must have moved by whole periods only; the ground within one tile.
  void Pass(uint32_t now) {
    fakeNow = now;
    manualPasses += viewState.manualMode;
    DisplayFrame();
    const uint32_t t = viewState.manualMode ? viewState.manualClock : now;
    for (int part : MovingParts) {
      const RigPart& p = partTable.parts[part];
      EXPECT_LE(t - p.startTime, p.period) << "part " << part << " off its wave at " << t;
      if (steady && starts[part] != 0) {
        EXPECT_EQ(static_cast<int32_t>(p.startTime - starts[part]) % static_cast<int32_t>(p.period), 0)
            << "part " << part << " jumped at " << t;
      }
      starts[part] = p.startTime;
    }
    EXPECT_TRUE(groundScroll >= 0.0 && groundScroll <= 2.5);
    steady = true;
  }
  ScratchDir scratch;
  WorkingDirectoryScope inScratch{scratch.Path()};
  ViewState saved = viewState;
  ToolkitCalls savedToolkit = toolkit;
  uint32_t starts[7] = {};
  bool steady = false;
  int manualPasses = 0;
};

// The ground and sky of each background set show in the approved walk pictures; here a pass
// without a sky quadric, and a window of height 0.
TEST_F(Frame, BackdropCopesWithoutASkyAndAWindowOfHeightZero) {
  BuildRig();  // every mesh empty: ground and sky only
  swaps = 0;
  DisplayFrame();
  EXPECT_EQ(swaps, 1);
  const Rgb sky = PixelAt(32, 61), ground = PixelAt(32, 2);
  ReshapeWindow(300, 0);  // a height of 0 counts as 1; 60 degrees of view
  GLdouble projection[16] = {};
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  EXPECT_NEAR(projection[5], std::sqrt(3.0), 1e-6);
  EXPECT_NEAR(projection[0], std::sqrt(3.0) / 300.0, 1e-8);
  // A sky quadric that cannot be made: the sky is left out, the rest drawn, the next pass tries again.
  ReshapeWindow(TestSurfaceSize, TestSurfaceSize);
  if (skyQuadric != nullptr) gluDeleteQuadric(skyQuadric);
  skyQuadric = nullptr;
  FailNextQuadricCreation();
  DisplayFrame();
  EXPECT_EQ(skyQuadric, nullptr);
  EXPECT_TRUE(Near(PixelAt(32, 61), {0, 0, 0}, 0));
  EXPECT_TRUE(Near(PixelAt(32, 2), ground, 0));
  DisplayFrame();
  EXPECT_NE(skyQuadric, nullptr);
  EXPECT_TRUE(Near(PixelAt(32, 61), sky, 0));
}

// The saved frame of a window wider than high: width first in the header, rows of the width, the
// top row first.
TEST_F(Frame, ManualModeSavesThePreviousImageAndStepsTheClock) {
  constexpr int Width = TestSurfaceSize, Height = 40;
  scratch.MakeDir("images");
  ReshapeWindow(Width, Height);
  BuildRig();
  DisplayFrame();
  const double scrollBefore = groundScroll;
  // What the buffer holds when the manual pass starts: red telling the column, green the row, no blue.
  glEnable(GL_SCISSOR_TEST);
  for (int i = 0; i < Width + Height; ++i) {
    const bool column = i < Width;
    glColorMask(column, !column, column, GL_FALSE);
    glScissor(column ? i : 0, column ? 0 : i - Width, column ? 1 : Width, column ? Height : 1);
    glClearColor(float(4 * i) / 255.0f, float(6 * (i - Width)) / 255.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  glDisable(GL_SCISSOR_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
  viewState.manualMode = 1;
  testing::internal::CaptureStdout();
  Pass(fakeNow + 5);     // starts the manual clock from the system clock
  Pass(fakeNow + 1000);  // from now on the system clock does not matter
  const std::string wrote = "Wrote 64 x 40 pixels image to file (7680 bytes)\n";
  EXPECT_EQ(testing::internal::GetCapturedStdout(), wrote + wrote);
  EXPECT_EQ(viewState.manualClock, 50000000u + 5u + 66u + 66u);
  EXPECT_NEAR(groundScroll, std::fmod(scrollBefore + 137.0 / 2000.0, 2.5), 1e-12);
  const std::string first = ReadWholeFile("images/image000.ppm"), second = ReadWholeFile("images/image001.ppm");
  const std::string header = "P6\n# CREATOR: glDumpWindowPPM() by Wexmoor\n64 40\n255\n";
  std::string raster;
  for (int i = 0; i < Width * Height; ++i) raster += {char(4 * (i % Width)), char(6 * (Height - 1 - i / Width)), 0};
  EXPECT_EQ(first.substr(0, header.size()), header);
  ASSERT_EQ(first.size(), header.size() + raster.size());
  EXPECT_TRUE(first.substr(header.size()) == raster) << "the rows as captured before the pass cleared anything";
  EXPECT_NE(second.substr(header.size(), 3), first.substr(header.size(), 3));  // the first manual pass's sky
}

TEST_F(Frame, TimeBaseAtItsEdges) {
  scratch.MakeDir("images");
  testing::internal::CaptureStdout();
  for (char speed : {'1', '2', '3'}) {  // the clock wrapping past 2^32, at every speed
    uint32_t now = 0u - 1700u;
    Rebuild(now);
    Key(speed);
    for (int i = 0; i < 200; ++i) Pass(now += 16 + i % 2);
  }
  Rebuild(0);  // the system clock at 0 when the rig is built and for the first passes
  for (uint32_t now : {0u, 0u, 16u, 33u, 0u, 50u}) Pass(now);
  Key('m');  // manual mode switched on while the clock reads 0
  for (int i = 0; i < 5; ++i) Pass(0);
  EXPECT_EQ(viewState.manualClock, 5u * 66u);
  Key('d');
  // The manual clock stepping onto exactly 0 counts as not started: it starts again from the system clock.
  const uint32_t system = 0u - 5u * 66u;
  Pass(system);
  Key('m');
  for (uint32_t i = 0; i < 12; ++i) Pass(system + i);
  EXPECT_EQ(viewState.manualClock, system + 5u + 7u * 66u);
  // Manual mode on and off many times: the manual clock runs 66 ms per pass while the system clock
  // moves 17 ms, so every return to real time sends the time stamp back, at every speed.
  uint32_t now = 7000000;
  for (int round = 0; round < 60 && !HasFailure(); ++round) {
    for (char key : {"123"[round % 3], 'm'}) Key(key);
    for (int i = 0; i <= round % 5; ++i) Pass(now += 17);
    Key('d');
    for (int i = 0; i <= round % 3; ++i) Pass(now += 17);
  }
  // Speed choices by key and menu in manual mode before its first frame, while the manual clock
  // still reads 0; then once it runs.
  for (char key : {'m', '3', '1', '2', '3'}) Key(key);
  ApplyMenuChoice(10);
  for (int i = 0; i < 40; ++i) Pass(now + 10);
  Key('1');
  for (int i = 0; i < 40; ++i) Pass(now + 20);
  for (char key : {'d', '2'}) Key(key);
  for (uint32_t t = now + 30; t < now + 3000; t += 16) Pass(t);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(savedFrameCount, manualPasses);
}

// One unit per walking period, folded into (0, 2.5] by whole tiles.
TEST(GroundScroll, AdvancesByThePeriodAndWrapsByWholeTiles) {
  const struct { double scroll; uint32_t delta, period; double result; } cases[] = {
      {0.0, 0, 2000, 0.0}, {2.0, 1000, 2000, 2.5}, {0.0, 10000, 2000, 2.5}, {2.5, 1000, 4000, 0.25},
      {1.0, 5000, 0, 1.0}, {0.5, 3000, 1000, 1.0}, {2.25, 4294967295u, 1000, 2.25 + 4294967.295 - 1717987 * 2.5}};
  for (const auto& c : cases)
    EXPECT_NEAR(AdvanceGroundScroll(c.scroll, c.delta, c.period), c.result, 1e-6) << c.scroll << " + " << c.delta;
  EXPECT_EQ(WrapGroundScroll(1e13 + 1.0), 1.0);  // 4e12 tiles at once
}

}  // namespace
