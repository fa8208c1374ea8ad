// The robot rig as start-up builds it, and the re-timing of a speed change, on the program's own
// part table and clock.
#include "motion/rig.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/view_state.h"
#include "motion/part_table.h"
#include "platform/clock.h"
#include "support/global_tables_reset.h"

namespace {

uint32_t fakeNow = 0;
uint32_t FakeClock() { return fakeNow; }

class RigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved = viewState;
    viewState = ViewState{};
    SetClockSource(FakeClock);
    ResetPartTable();
  }
  void TearDown() override {
    SetClockSource(nullptr);
    viewState = saved;
    ResetPartTable();
  }
  // The rig built `since` ms before `now` at the given period: part 6 is `since` ms into its cycle.
  static void RigAtPhase(uint32_t now, uint32_t period, uint32_t since) {
    ResetPartTable();
    fakeNow = now - since;
    viewState.speedPeriod = period;
    BuildRig();
    fakeNow = now;
  }
  // Periods and starts of parts 4 (root), 5 and 6; 0 and 2 must match 5 and 6.
  static std::vector<uint32_t> Timing() {
    const RigPart* p = partTable.parts;
    EXPECT_EQ(p[0].startTime, p[5].startTime);
    EXPECT_EQ(p[2].startTime, p[6].startTime);
    EXPECT_EQ(p[0].period, p[6].period);
    EXPECT_EQ(p[2].period, p[6].period);
    return {p[4].period, p[4].startTime, p[6].period, p[5].startTime, p[6].startTime};
  }
  ViewState saved{};
};

TEST_F(RigTest, BuildRigAssemblesSevenPartsFromTheFirst22Meshes) {
  RigAtPhase(1000000, 2000, 0);
  struct Expected {
    std::vector<int32_t> models, children;
    double y, z;
    uint32_t period, startTime;
  };
  const Expected expected[7] = {{{0, 1, 2, 3, 4}, {}, -0.6, -0.6, 2000, 999000},
                                {{5, 6, 7, 8}, {0}, 0, 0, 0, 0},
                                {{9, 10, 11, 12, 13}, {}, -0.6, -0.6, 2000, 1000000},
                                {{14, 15, 16, 17}, {2}, 0, 0, 0, 0},
                                {{18, 19}, {5, 6, 1, 3}, 0, 0.1, 1000, 999500},
                                {{20}, {}, 0, 0.25, 2000, 999000},
                                {{21}, {}, 0, 0.25, 2000, 1000000}};
  for (int i = 0; i < 7; ++i) {
    const RigPart& p = partTable.parts[i];
    EXPECT_EQ(std::vector<int32_t>(p.models, p.models + p.modelCount), expected[i].models) << i;
    EXPECT_EQ(std::vector<int32_t>(p.children, p.children + p.childCount), expected[i].children) << i;
    EXPECT_EQ(p.motion.x, 0.0) << i;
    EXPECT_EQ(p.motion.y, expected[i].y) << i;
    EXPECT_EQ(p.motion.z, expected[i].z) << i;
    EXPECT_EQ(p.period, expected[i].period) << i;
    EXPECT_EQ(p.startTime, expected[i].startTime) << i;
  }
  EXPECT_EQ(partTable.rootPart, 4);
  for (int i = 7; i < 10; ++i) EXPECT_EQ(partTable.parts[i].modelCount + partTable.parts[i].childCount, 0);
}

TEST_F(RigTest, SpeedChangesContinueTheGait) {
  const uint32_t now = 5000000;
  RigAtPhase(now, 2000, 500);  // Medium to Fast a quarter into the cycle
  SetSpeed(1000);
  EXPECT_EQ(viewState.speedPeriod, 1000u);
  EXPECT_EQ(Timing(), (std::vector<uint32_t>{500, now - 375, 1000, now - 750, now - 250}));
  RigAtPhase(now, 2000, 1500);  // Medium to Slow three quarters into the cycle
  SetSpeed(4000);
  EXPECT_EQ(Timing(), (std::vector<uint32_t>{2000, now - 1500, 4000, now - 5000, now - 3000}));
  RigAtPhase(now, 2000, 1000);  // exactly mid-cycle takes the lower branch
  SetSpeed(2000);
  EXPECT_EQ(Timing()[1], now - 1000);
  RigAtPhase(now, 2000, 500);  // the speed in force still re-times the root
  SetSpeed(2000);
  EXPECT_EQ(Timing(), (std::vector<uint32_t>{1000, now - 750, 2000, now - 1500, now - 500}));
  for (int part : {1, 3}) EXPECT_EQ(partTable.parts[part].period + partTable.parts[part].startTime, 0u);
  // In manual mode the manual clock is the time base, not the system clock.
  RigAtPhase(now, 2000, 500);
  viewState.manualMode = 1;
  viewState.manualClock = now;
  fakeNow = 123;
  SetSpeed(1000);
  EXPECT_EQ(Timing(), (std::vector<uint32_t>{500, now - 375, 1000, now - 750, now - 250}));
  // Near the clock's origin the start times wrap like the clock does (b = now - 250 wraps first).
  viewState.manualMode = 0;
  RigAtPhase(200, 2000, 100);
  SetSpeed(1000);
  EXPECT_EQ(Timing(), (std::vector<uint32_t>{500, 200u - 276u, 1000, 200u - 550u, 200u - 50u}));
}

}  // namespace
