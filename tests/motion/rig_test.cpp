// The walking rig: the triangle-wave factor and the catch-up of a part's cycle start, the re-timing
// of a speed change, and a part tree drawn in a real GL context (where each part's meshes land, how
// drawing moves the cycle starts, and a part's capacity). The rig as start-up builds it, the
// wireframe flag reaching the subtree and every push popped show in the approved walk pictures.
#include "motion/rig.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "model/model_library.h"
#include "motion/part_table.h"
#include "motion/triangle_wave.h"
#include "platform/clock.h"
#include "platform/view_state.h"
#include "support/gl_test.h"

namespace {

uint32_t fakeNow = 0;

TEST(TriangleWave, FactorsAndCatchUp) {
  const struct { int64_t elapsed; uint32_t period; float factor; } factors[] = {
      {0, 2000, 0}, {500, 2000, 0.5f}, {1000, 2000, 1}, {1500, 2000, 0.5f}, {2000, 2000, 0}, {2, 5, 0.8f},
      {3, 5, 0.8f}};
  for (const auto& f : factors)
    EXPECT_EQ(TriangleWaveFactor(f.elapsed, f.period), f.factor) << f.elapsed << "/" << f.period;
  // Whole periods move the start; a time before the start goes back keeping the phase; the time
  // since the start wraps with the 32-bit clock.
  const struct { uint32_t start, t, period, newStart; int64_t elapsed; } catchUps[] = {
      {1000, 3000, 2000, 1000, 2000},    {1000, 5000, 2000, 3000, 2000},   {1000, 4500, 1000, 4000, 500},
      {10000, 9500, 2000, 8000, 1500},   {10000, 6000, 2000, 6000, 0},     {0xFFFFFF00u, 0x100, 2000, 0xFFFFFF00u, 512},
      {1, 0x7FFFFFFF, 3, 0x7FFFFFFC, 3}, {77, 5, 0, 77, 0}};
  for (const auto& c : catchUps) {
    int64_t elapsed = -1;
    EXPECT_EQ(CatchUpStartTime(c.start, c.t, c.period, &elapsed), c.newStart) << c.start << " " << c.t;
    EXPECT_EQ(elapsed, c.elapsed) << c.start << " " << c.t;
  }
}

// The program's own part table with a settable clock, put back afterwards.
class Rig : public testing::Test {
 protected:
  void TearDown() override {
    SetClockSource(nullptr);
    viewState = saved;
    partTable.Clear();
    modelLibrary.Clear();
  }
  // The rig built `since` ms before `now` at the speed of `period`: part 6 is `since` ms into its cycle.
  static void RigAtPhase(uint32_t now, uint32_t period, uint32_t since) {
    partTable.Clear();
    viewState = ViewState{};
    viewState.speedPeriod = period;
    SetClockSource([] { return fakeNow; });
    fakeNow = now - since;
    BuildRig();
    fakeNow = now;
  }
  // Period and start time of each part 0-6.
  static std::vector<uint32_t> Timing() {
    std::vector<uint32_t> timing;
    for (int i = 0; i < 7; ++i) timing.insert(timing.end(), {partTable.parts[i].period, partTable.parts[i].startTime});
    return timing;
  }
  ViewState saved = viewState;
};

TEST_F(Rig, SpeedChangesContinueTheGait) {
  const uint32_t n = 5000000;
  const struct {
    uint32_t now, since, newPeriod, manualClock;
    uint32_t root, rootStart, limb, trailing, leading;                        // parts 4; 5 and 0; 6 and 2
  } cases[] = {{n, 500, 1000, 0, 500, n - 375, 1000, n - 750, n - 250},       // Medium to Fast a quarter in
               {n, 1500, 4000, 0, 2000, n - 1500, 4000, n - 5000, n - 3000},  // Medium to Slow, three quarters in
               {n, 1000, 2000, 0, 1000, n - 1000, 2000, n - 2000, n - 1000},  // mid-cycle: the lower branch
               {n, 500, 2000, 0, 1000, n - 750, 2000, n - 1500, n - 500},     // the speed in force re-times too
               {123, 500, 1000, n, 500, n - 375, 1000, n - 750, n - 250},     // manual mode: the manual clock is now
               {200, 100, 1000, 0, 500, 200u - 276u, 1000, 200u - 550u, 200u - 50u}};  // starts wrap like the clock
  for (const auto& c : cases) {
    RigAtPhase(c.manualClock ? c.manualClock : c.now, 2000, c.since);
    fakeNow = c.now;
    viewState.manualMode = c.manualClock != 0;
    viewState.manualClock = c.manualClock;
    SetSpeed(c.newPeriod);
    EXPECT_EQ(viewState.speedPeriod, c.newPeriod);
    EXPECT_EQ(Timing(), (std::vector<uint32_t>{c.limb, c.trailing, 0, 0, c.limb, c.leading, 0, 0, c.root, c.rootStart,
                                               c.limb, c.trailing, c.limb, c.leading}))
        << c.now << " " << c.since << " " << c.newPeriod;
  }
}

TEST_F(Rig, DrawnMeshesAndChildrenMoveByTheWave) {
  ASSERT_TRUE(UseTestGlContext());
  UseFlatColourLighting();
  const double xs[3] = {0.0, 0.25, 0.25}, ys[3] = {0.0, 0.0, 0.25}, zs[3] = {};
  modelLibrary.slots[0].AddTriangle(xs, ys, zs);
  modelLibrary.slots[1].AddTriangle(xs, ys, zs);
  RigPart &parent = partTable.parts[0], &child = partTable.parts[3];
  parent.AddModel(0);
  parent.AddChild(3);
  child.AddModel(1);
  parent.motion = {0.5, 0.0, 0.0}, parent.period = 2000, parent.startTime = 1000;
  child.motion = {0.0, 0.5, 0.0}, child.period = 1000;  // not started: the first draw at a time other than 0 starts it
  const struct { uint32_t t; double parentX, childY; uint32_t parentStart, childStart; } steps[] = {
      {0, 0.5, 0.0, 1000u - 2000u, 0}, {1500, 0.25, 0.0, 1000, 1500}, {2000, 0.5, 0.5, 1000, 1500},
      {7500, 0.25, 0.0, 7000, 6500},   {6500, 0.25, 0.0, 5000, 6500}};
  // Each pass against the two meshes drawn by hand where the wave should have put them.
  auto surface = [](const auto& draw) {
    glClear(GL_COLOR_BUFFER_BIT);
    draw();
    glLoadIdentity();
    return ReadSurface();
  };
  auto byHand = [](double parentX, double childY) {
    glTranslated(parentX, 0.0, 0.0);
    modelLibrary.slots[0].DrawMeshCached();
    glTranslated(0.0, childY, 0.0);
    modelLibrary.slots[1].DrawMeshCached();
  };
  for (const auto& s : steps) {
    EXPECT_TRUE(surface([&] { parent.DrawPart(s.t, false); }) == surface([&] { byHand(s.parentX, s.childY); })) << s.t;
    EXPECT_EQ(parent.startTime, s.parentStart) << s.t;
    EXPECT_EQ(child.startTime, s.childStart) << s.t;
  }
  for (int i = 1; i < 10; ++i) parent.AddModel(0);
  for (int i = 1; i < 5; ++i) parent.AddChild(3);
  testing::internal::CaptureStderr();
  child.AddModel(0);  // the child's 2nd model, then the parent's 11th and 6th
  parent.AddModel(40);
  parent.AddChild(9);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Error: attempted to put too many models in a part\nError: attempted to put too many children on a part\n");
  EXPECT_EQ(parent.modelCount, 10);
  EXPECT_EQ(parent.childCount, 5);
  EXPECT_EQ(child.modelCount, 2);
}

}  // namespace
