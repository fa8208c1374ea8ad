// The robot rig as start-up builds it, and the re-timing of a speed change, on the program's own
// part table with a settable clock.
#include "motion/rig.h"

#include <gtest/gtest.h>

#include <vector>

#include "motion/part_table.h"
#include "platform/clock.h"
#include "platform/view_state.h"
#include "support/global_tables_reset.h"

namespace {

uint32_t fakeNow = 0;

// The rig built `since` ms before `now` at the speed of `period`: part 6 is `since` ms into its cycle.
void RigAtPhase(uint32_t now, uint32_t period, uint32_t since) {
  ResetPartTable();
  viewState = ViewState{};
  viewState.speedPeriod = period;
  SetClockSource([] { return fakeNow; });
  fakeNow = now - since;
  BuildRig();
  fakeNow = now;
}

// Period and start time of each part 0-6.
std::vector<uint32_t> Timing() {
  std::vector<uint32_t> timing;
  for (int i = 0; i < 7; ++i) timing.insert(timing.end(), {partTable.parts[i].period, partTable.parts[i].startTime});
  return timing;
}

TEST(Rig, BuildRigAssemblesSevenPartsFromTheFirst22Meshes) {
  const ViewState saved = viewState;
  RigAtPhase(1000000, 2000, 0);
  const std::vector<int32_t> models[7] = {
      {0, 1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12, 13}, {14, 15, 16, 17}, {18, 19}, {20}, {21}};
  const std::vector<int32_t> children[7] = {{}, {0}, {}, {2}, {5, 6, 1, 3}, {}, {}};
  const double motions[7][2] = {{-0.6, -0.6}, {0, 0}, {-0.6, -0.6}, {0, 0}, {0, 0.1}, {0, 0.25}, {0, 0.25}};
  for (int i = 0; i < 10; ++i) {
    const RigPart& p = partTable.parts[i];
    EXPECT_EQ(std::vector<int32_t>(p.models, p.models + p.modelCount), i < 7 ? models[i] : std::vector<int32_t>{}) << i;
    EXPECT_EQ(std::vector<int32_t>(p.children, p.children + p.childCount), i < 7 ? children[i] : std::vector<int32_t>{})
        << i;
    EXPECT_EQ(p.motion.x, 0.0);
    EXPECT_EQ(p.motion.y, i < 7 ? motions[i][0] : 0.0) << i;
    EXPECT_EQ(p.motion.z, i < 7 ? motions[i][1] : 0.0) << i;
  }
  EXPECT_EQ(partTable.rootPart, 4);
  EXPECT_EQ(Timing(), (std::vector<uint32_t>{2000, 999000, 0, 0, 2000, 1000000, 0, 0, 1000, 999500, 2000, 999000, 2000,
                                             1000000}));
  SetClockSource(nullptr);
  viewState = saved;
}

TEST(Rig, SpeedChangesContinueTheGait) {
  const ViewState saved = viewState;
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
  SetClockSource(nullptr);
  viewState = saved;
  ResetPartTable();
}

}  // namespace
