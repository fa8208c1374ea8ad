// The frame's time base at its edges, through the real display pass in an offscreen context with a
// settable clock: the millisecond clock wrapping past 2^32, clock readings of exactly 0 (the
// system clock's and the manual clock's), manual mode switched on and off many times, and speed
// changes in manual mode before any manual frame.
//
// Each part's displacement is observed, not recomputed: every moving part carries one small
// triangle, the pass runs in feedback mode under a projection that keeps the whole robot inside the
// clip volume, and the triangles' window coordinates are turned back into world positions. Their
// offsets from where the scene put them give each part's triangle-wave factor, which must stay
// within the swing [0, 1]. Every pass must also finish promptly and present a frame.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "app/controls.h"
#include "platform/toolkit.h"
#include "platform/view_state.h"
#include "app/window.h"
#include "model/model_library.h"
#include "motion/part_table.h"
#include "motion/rig.h"
#include "platform/clock.h"
#include "render/camera.h"
#include "render/frame.h"
#include "render/frame_capture.h"
#include "support/gl_probe.h"
#include "support/global_tables_reset.h"
#include "support/scratch_dir.h"
#include "support/test_textures.h"

namespace {

uint32_t clockNow = 0;
uint32_t TestClock() { return clockNow; }
int presented = 0;
void CountPresent() { ++presented; }
void NoRedisplay() {}
void NoMenuChange(int, const char*, int) {}

// A feedback viewport much larger than the surface keeps window coordinates fine-grained; the
// projection only scales eye space into the clip volume.
constexpr double kViewport = 4096.0;
constexpr double kEyeScale = 64.0;

double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

struct Point {
  double x, y, z;
};

// One triangle per part that the rig moves or that carries a moving part, in the order the passes
// draw them (root 4, its children 5, 6, 1 with 0, 3 with 2). Mesh slot and corner 0 in the world.
struct Probe {
  int part;
  int mesh;
  Point corner;
};
constexpr Probe kProbes[7] = {{4, 18, {-2.0, 2.0, 4.0}}, {5, 20, {-3.0, 2.0, 4.5}}, {6, 21, {-1.0, 2.0, 4.5}},
                              {1, 5, {-2.5, 2.0, 3.0}},  {0, 0, {-2.5, 2.0, 2.0}},  {3, 14, {-1.5, 2.0, 3.0}},
                              {2, 9, {-1.5, 2.0, 2.0}}};
constexpr double kEdge = 0.2;

// Triangle-wave factors of the five moving parts, as the pass drew them.
struct Factors {
  double root, part5, part6, part0, part2;
};

class TimeBase : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(UseGlobalTestTextures());
    saved = viewState;
    savedToolkit = toolkit;
    savedCount = savedFrameCount;
    viewState = ViewState{};
    viewState.textured = 0;  // Solid: one polygon per triangle in feedback
    viewState.windowWidth = viewState.windowHeight = TestSurfaceSize;
    toolkit = {CountPresent, NoRedisplay, NoMenuChange};
    presented = 0;
    SetClockSource(TestClock);
    ResetModelLibrary();
    ResetPartTable();
    for (const Probe& probe : kProbes) {
      const Point& c = probe.corner;
      const double xs[3] = {c.x, c.x + kEdge, c.x}, ys[3] = {c.y, c.y, c.y}, zs[3] = {c.z, c.z, c.z + kEdge};
      modelLibrary.slots[probe.mesh].AddTriangle(xs, ys, zs);
    }
    InitGlState();
    glViewport(0, 0, static_cast<GLsizei>(kViewport), static_cast<GLsizei>(kViewport));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScaled(1.0 / kEyeScale, 1.0 / kEyeScale, 1.0 / kEyeScale);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    PlaceCamera();
    glGetDoublev(GL_MODELVIEW_MATRIX, view);
    glLoadIdentity();
  }

  void TearDown() override {
    SetClockSource(nullptr);
    viewState = saved;
    toolkit = savedToolkit;
    savedFrameCount = savedCount;
    BeginCaptureRun();
    ReshapeWindow(TestSurfaceSize, TestSurfaceSize);
    ResetPartTable();
    ResetModelLibrary();
  }

  void BuildRigAt(uint32_t now) {
    clockNow = now;
    BuildRig();
  }

  // World position of a feedback vertex: undo the viewport, the scale and the camera.
  Point World(const FeedbackVertex& v) const {
    const double eye[3] = {(v.x / (kViewport / 2) - 1.0) * kEyeScale, (v.y / (kViewport / 2) - 1.0) * kEyeScale,
                           (2.0 * v.z - 1.0) * kEyeScale};
    // view = [R | t] in column-major order; world = R^T (eye - t).
    const double d[3] = {eye[0] - view[12], eye[1] - view[13], eye[2] - view[14]};
    auto row = [&](int column) {
      return view[4 * column] * d[0] + view[4 * column + 1] * d[1] + view[4 * column + 2] * d[2];
    };
    return {row(0), row(1), row(2)};
  }

  // One display pass at the clock reading `now`: the factors it drew with, after checking that
  // it presented a frame, took no noticeable time, and drew every probe as the rigid triangle it is.
  Factors Pass(uint32_t now) {
    clockNow = now;
    const int before = presented;
    const double start = ThreadSeconds();
    const FeedbackCapture capture = CaptureFeedback([] { DisplayFrame(); });
    // A handful of triangles takes this thread a millisecond or two, a few tenths of a second when
    // the driver first compiles its code for a new state; catch-up or scroll work that grew with
    // the size of a time jump would show here. (This thread's processor time, so that a busy
    // machine does not count.)
    EXPECT_LT(ThreadSeconds() - start, 2.0) << "a pass at clock " << now << " stalled";
    EXPECT_EQ(presented, before + 1) << "no frame presented at clock " << now;
    Point offset[7] = {};
    const size_t n = capture.vertices.size();
    if (n < 21) {
      ADD_FAILURE() << "the robot was not drawn at clock " << now;
      return {};
    }
    for (int k = 0; k < 7; ++k) {
      const Point p0 = World(capture.vertices[n - 21 + 3 * k]), p1 = World(capture.vertices[n - 21 + 3 * k + 1]);
      EXPECT_NEAR(std::hypot(p1.x - p0.x, p1.y - p0.y, p1.z - p0.z), kEdge, 1e-3)
          << "probe " << k << " is not the probe";
      offset[k] = {p0.x - kProbes[k].corner.x, p0.y - kProbes[k].corner.y, p0.z - kProbes[k].corner.z};
      EXPECT_NEAR(offset[k].x, 0.0, 1e-3) << "part " << kProbes[k].part << " moved sideways";
    }
    // Parts 1 and 3 have no motion of their own: they ride on the root.
    EXPECT_NEAR(offset[3].z, offset[0].z, 1e-3);
    EXPECT_NEAR(offset[5].z, offset[0].z, 1e-3);
    Factors f{};
    f.root = offset[0].z / 0.1;
    f.part5 = (offset[1].z - offset[0].z) / 0.25;
    f.part6 = (offset[2].z - offset[0].z) / 0.25;
    f.part0 = (offset[3].y - offset[4].y) / 0.6;
    f.part2 = (offset[5].y - offset[6].y) / 0.6;
    return f;
  }

  // Every factor within the swing: [0, 1], and 1/period above 1 for an odd period.
  void ExpectWithinSwing(const Factors& f, uint32_t now) {
    const double values[5] = {f.root, f.part5, f.part6, f.part0, f.part2};
    const int parts[5] = {4, 5, 6, 0, 2};
    for (int i = 0; i < 5; ++i) {
      const uint32_t period = partTable.parts[parts[i]].period;
      const double top = 1.0 + (period % 2 ? 1.0 / period : 0.0);
      EXPECT_GE(values[i], -2e-3) << "part " << parts[i] << " at clock " << now;
      EXPECT_LE(values[i], top + 2e-3) << "part " << parts[i] << " at clock " << now;
    }
  }

  Factors PassWithinSwing(uint32_t now) {
    const Factors f = Pass(now);
    ExpectWithinSwing(f, now);
    return f;
  }

  double view[16] = {};
  ScratchDir scratch;
  ViewState saved{};
  ToolkitCalls savedToolkit{};
  int32_t savedCount = 0;
};

TEST_F(TimeBase, ClockWrappingPast2To32KeepsEveryPartOnItsWaveWithoutAJump) {
  // At every speed, from 5 s before the wrap to 5 s after, in steps like a 60 Hz display's.
  for (char speed : {'1', '2', '3'}) {
    SCOPED_TRACE(std::string("speed key ") + speed);
    ResetPartTable();
    uint32_t now = 0u - 5000u;
    BuildRigAt(now);
    HandleKey(static_cast<unsigned char>(speed), 0, 0);
    Factors last = PassWithinSwing(now);
    double lowest = last.part6, highest = last.part6;
    for (int i = 1; i <= 600; ++i) {
      const uint32_t step = 16 + i % 2;
      now += step;
      const Factors f = PassWithinSwing(now);
      // The triangle wave changes by at most 2/period per millisecond.
      auto slope = [&](int part) { return 2.0 * step / partTable.parts[part].period + 2e-3; };
      EXPECT_LE(std::fabs(f.root - last.root), slope(4)) << "root jumped at clock " << now;
      EXPECT_LE(std::fabs(f.part5 - last.part5), slope(5)) << "part 5 jumped at clock " << now;
      EXPECT_LE(std::fabs(f.part6 - last.part6), slope(6)) << "part 6 jumped at clock " << now;
      EXPECT_LE(std::fabs(f.part0 - last.part0), slope(0)) << "part 0 jumped at clock " << now;
      EXPECT_LE(std::fabs(f.part2 - last.part2), slope(2)) << "part 2 jumped at clock " << now;
      last = f;
      lowest = std::min(lowest, f.part6);
      highest = std::max(highest, f.part6);
      if (HasFailure()) return;
    }
    EXPECT_LT(now, 6000u) << "the run did not cross the wrap";
    EXPECT_TRUE(lowest < 0.1 && highest > 0.9) << "part 6 did not swing: " << lowest << " to " << highest;
  }
}

TEST_F(TimeBase, ClockReadingsOfExactlyZero) {
  WorkingDirectoryScope inScratch(scratch.Path());
  ASSERT_TRUE(scratch.MakeDir("images"));
  testing::internal::CaptureStdout();
  // The system clock at 0 when the rig is built and for the first passes ("not started" each time).
  BuildRigAt(0);
  for (uint32_t now : {0u, 0u, 16u, 33u, 0u, 50u}) PassWithinSwing(now);
  // Manual mode switched on while the clock reads 0.
  HandleKey('m', 0, 0);
  for (int i = 0; i < 5; ++i) PassWithinSwing(0);
  EXPECT_EQ(viewState.manualClock, 5u * 66u);
  HandleKey('d', 0, 0);
  // The manual clock stepping onto exactly 0 counts as not started: it starts again from the system
  // clock, 66 ms per pass, and the parts follow.
  const uint32_t system = 0u - 5u * 66u;
  PassWithinSwing(system);
  HandleKey('m', 0, 0);
  for (int i = 0; i < 12; ++i) PassWithinSwing(system + static_cast<uint32_t>(i));
  HandleKey('d', 0, 0);
  std::fflush(stdout);
  testing::internal::GetCapturedStdout();
  // Every manual pass saved its frame.
  EXPECT_EQ(savedFrameCount, 17);
  EXPECT_TRUE(FileExists("images/image016.ppm"));
  EXPECT_FALSE(FileExists("images/image017.ppm"));
}

TEST_F(TimeBase, ManualModeOnAndOffManyTimes) {
  WorkingDirectoryScope inScratch(scratch.Path());
  ASSERT_TRUE(scratch.MakeDir("images"));
  testing::internal::CaptureStdout();
  uint32_t now = 7000000;
  BuildRigAt(now);
  int manualPasses = 0;
  // The manual clock runs 66 ms per pass while the system clock moves 17 ms: every return to real
  // time sends the time stamp back by up to a few seconds, at every speed.
  for (int round = 0; round < 60; ++round) {
    HandleKey(static_cast<unsigned char>("123"[round % 3]), 0, 0);
    HandleKey('m', 0, 0);
    for (int i = 0; i <= round % 5; ++i, ++manualPasses) PassWithinSwing(now += 17);
    HandleKey('d', 0, 0);
    for (int i = 0; i <= round % 3; ++i) PassWithinSwing(now += 17);
    if (HasFailure()) break;
  }
  std::fflush(stdout);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(savedFrameCount, manualPasses);
}

TEST_F(TimeBase, SpeedChangesInManualModeBeforeAnyManualFrame) {
  WorkingDirectoryScope inScratch(scratch.Path());
  ASSERT_TRUE(scratch.MakeDir("images"));
  testing::internal::CaptureStdout();
  const uint32_t start = 123456789;
  BuildRigAt(start);
  PassWithinSwing(start);
  // m, then speed choices by key and by menu before the first manual pass: the manual clock still
  // reads 0, so the re-timing works from a time stamp far from the parts' start times.
  HandleKey('m', 0, 0);
  HandleKey('3', 0, 0);
  ApplyMenuChoice(10);
  HandleKey('2', 0, 0);
  HandleKey('3', 0, 0);
  for (int i = 0; i < 40; ++i) PassWithinSwing(start + 10);
  // Once the manual clock runs, a speed change continues every limb at its phase.
  HandleKey('1', 0, 0);
  for (int i = 0; i < 40; ++i) PassWithinSwing(start + 20);
  HandleKey('d', 0, 0);
  HandleKey('2', 0, 0);
  for (uint32_t t = start + 30; t < start + 3000; t += 16) PassWithinSwing(t);
  std::fflush(stdout);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(savedFrameCount, 80);
}

}  // namespace
