// The robot rig as start-up builds it, and the re-timing of a speed change (worked cases and the
// phase it keeps), on the program's own part table and clock.
#include "motion/rig.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "app/view_state.h"
#include "motion/gait_timing.h"
#include "motion/part_table.h"
#include "platform/clock.h"
#include "support/global_tables_reset.h"

namespace {

uint32_t fakeNow = 0;
uint32_t FakeClock() { return fakeNow; }

class RigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetPartTable();
    saved = viewState;
    viewState.speedPeriod = 2000;
    viewState.manualMode = 0;
    viewState.manualClock = 0;
    SetClockSource(FakeClock);
  }
  void TearDown() override {
    SetClockSource(nullptr);
    viewState = saved;
    ResetPartTable();
  }
  // Builds the rig at `now` and puts part 6 (and its partners) `sinceStart` ms into a cycle of
  // `period` ms, as the drawing would have left them.
  static void RigAtPhase(uint32_t now, uint32_t period, uint32_t sinceStart) {
    fakeNow = now - sinceStart;
    viewState.speedPeriod = period;
    BuildRig();
    fakeNow = now;
  }
  static std::vector<int32_t> Models(int part) {
    const RigPart& p = partTable.parts[part];
    return std::vector<int32_t>(p.models, p.models + p.modelCount);
  }
  static std::vector<int32_t> Children(int part) {
    const RigPart& p = partTable.parts[part];
    return std::vector<int32_t>(p.children, p.children + p.childCount);
  }
  ViewState saved{};
};

TEST_F(RigTest, BuildRigAssemblesSevenPartsFromTheFirst22Meshes) {
  fakeNow = 1000000;
  BuildRig();
  EXPECT_EQ(partTable.rootPart, 4);
  EXPECT_EQ(Models(0), (std::vector<int32_t>{0, 1, 2, 3, 4}));
  EXPECT_EQ(Models(1), (std::vector<int32_t>{5, 6, 7, 8}));
  EXPECT_EQ(Models(2), (std::vector<int32_t>{9, 10, 11, 12, 13}));
  EXPECT_EQ(Models(3), (std::vector<int32_t>{14, 15, 16, 17}));
  EXPECT_EQ(Models(4), (std::vector<int32_t>{18, 19}));
  EXPECT_EQ(Models(5), (std::vector<int32_t>{20}));
  EXPECT_EQ(Models(6), (std::vector<int32_t>{21}));
  EXPECT_EQ(Children(4), (std::vector<int32_t>{5, 6, 1, 3}));
  EXPECT_EQ(Children(1), (std::vector<int32_t>{0}));
  EXPECT_EQ(Children(3), (std::vector<int32_t>{2}));
  for (int part : {0, 2, 5, 6, 7, 8, 9}) EXPECT_TRUE(Children(part).empty()) << part;
  for (int part : {7, 8, 9}) EXPECT_TRUE(Models(part).empty()) << part;

  struct Expected {
    int part;
    double y, z;
    uint32_t period, startTime;
  };
  const Expected expected[] = {{0, -0.6, -0.6, 2000, 999000}, {1, 0, 0, 0, 0},           {2, -0.6, -0.6, 2000, 1000000},
                               {3, 0, 0, 0, 0},               {4, 0, 0.1, 1000, 999500}, {5, 0, 0.25, 2000, 999000},
                               {6, 0, 0.25, 2000, 1000000}};
  for (const Expected& e : expected) {
    const RigPart& p = partTable.parts[e.part];
    EXPECT_EQ(p.motion.x, 0.0) << e.part;
    EXPECT_EQ(p.motion.y, e.y) << e.part;
    EXPECT_EQ(p.motion.z, e.z) << e.part;
    EXPECT_EQ(p.period, e.period) << e.part;
    EXPECT_EQ(p.startTime, e.startTime) << e.part;
  }
}

TEST_F(RigTest, BuildRigNearTheClockOriginWrapsStartTimes) {
  fakeNow = 300;
  BuildRig();
  EXPECT_EQ(partTable.parts[0].startTime, 300u - 1000u);
  EXPECT_EQ(partTable.parts[4].startTime, 300u - 500u);
}

struct Timing {
  uint32_t rootPeriod, rootStart, limbPeriod, trailingStart, leadingStart;
};

Timing Observed() {
  const RigPart* p = partTable.parts;
  EXPECT_EQ(p[0].startTime, p[5].startTime);
  EXPECT_EQ(p[2].startTime, p[6].startTime);
  for (int part : {0, 2, 5}) EXPECT_EQ(p[part].period, p[6].period);
  return {p[4].period, p[4].startTime, p[6].period, p[5].startTime, p[6].startTime};
}

TEST_F(RigTest, SpeedChangeWorkedCases) {
  const uint32_t now = 5000000;
  // Medium to Fast a quarter into the cycle.
  RigAtPhase(now, 2000, 500);
  SetSpeed(1000);
  Timing t = Observed();
  EXPECT_EQ(viewState.speedPeriod, 1000u);
  EXPECT_EQ(t.rootPeriod, 500u);
  EXPECT_EQ(t.rootStart, now - 375);
  EXPECT_EQ(t.limbPeriod, 1000u);
  EXPECT_EQ(t.trailingStart, now - 750);
  EXPECT_EQ(t.leadingStart, now - 250);

  // Medium to Slow three quarters into the cycle.
  ResetPartTable();
  RigAtPhase(now, 2000, 1500);
  SetSpeed(4000);
  t = Observed();
  EXPECT_EQ(t.rootPeriod, 2000u);
  EXPECT_EQ(t.rootStart, now - 1500);
  EXPECT_EQ(t.limbPeriod, 4000u);
  EXPECT_EQ(t.trailingStart, now - 5000);
  EXPECT_EQ(t.leadingStart, now - 3000);

  // Exactly mid-cycle takes the lower branch.
  ResetPartTable();
  RigAtPhase(now, 2000, 1000);
  SetSpeed(2000);
  EXPECT_EQ(Observed().rootStart, now - 1000);

  // The speed already in force still re-times the root.
  ResetPartTable();
  RigAtPhase(now, 2000, 500);
  EXPECT_EQ(partTable.parts[4].startTime, now - 1000);
  SetSpeed(2000);
  t = Observed();
  EXPECT_EQ(t.rootStart, now - 750);
  EXPECT_EQ(t.trailingStart, now - 1500);
  EXPECT_EQ(t.leadingStart, now - 500);
  // Parts 1 and 3 have no motion and are not touched.
  for (int part : {1, 3}) {
    EXPECT_EQ(partTable.parts[part].period, 0u);
    EXPECT_EQ(partTable.parts[part].startTime, 0u);
  }
}

TEST_F(RigTest, ManualModeTimesFromTheManualClock) {
  const uint32_t manualNow = 9000000;
  RigAtPhase(manualNow, 2000, 500);
  fakeNow = 123;  // the system clock must not be used
  viewState.manualMode = 1;
  viewState.manualClock = manualNow;
  SetSpeed(1000);
  const Timing t = Observed();
  EXPECT_EQ(t.rootStart, manualNow - 375);
  EXPECT_EQ(t.trailingStart, manualNow - 750);
  EXPECT_EQ(t.leadingStart, manualNow - 250);
}

TEST_F(RigTest, LimbsKeepTheirPhaseAcrossSpeedChanges) {
  const uint32_t now = 70000000;
  const uint32_t periods[] = {4000, 2000, 1000};
  for (uint32_t from : periods) {
    for (uint32_t to : periods) {
      for (uint32_t since = 0; since < from; since += 37) {
        ResetPartTable();
        RigAtPhase(now, from, since);
        SetSpeed(to);
        const double before = static_cast<double>(since) / from;
        const double after = static_cast<double>(now - partTable.parts[6].startTime) / to;
        ASSERT_NEAR(after, before, 1.0 / to + 1e-6) << from << " -> " << to << " at " << since;
        ASSERT_EQ(now - partTable.parts[5].startTime, now - partTable.parts[6].startTime + to / 2);
      }
    }
  }
}

TEST(GaitTiming, TruncationKeepsTheLow32BitsOfAnyValue) {
  EXPECT_EQ(TruncateToLow32(1234.99), 1234u);
  EXPECT_EQ(TruncateToLow32(-0.5), 0u);
  EXPECT_EQ(TruncateToLow32(-1.5), 0xFFFFFFFFu);
  EXPECT_EQ(TruncateToLow32(4294967296.0 + 7.25), 7u);
  EXPECT_EQ(TruncateToLow32(-4294967296.0 * 3 - 2.0), 0xFFFFFFFEu);
  EXPECT_EQ(TruncateToLow32(1e30), static_cast<uint32_t>(std::fmod(1e30, 4294967296.0)));
  EXPECT_EQ(TruncateToLow32(NAN), 0u);
  // A part without a period is at phase 0, not 0/0.
  EXPECT_EQ(GaitPhase(5000, 1000, 0), 0.0f);
  EXPECT_EQ(GaitPhase(5000, 4500, 2000), 0.25f);
  EXPECT_EQ(GaitPhase(100, 4294967196u, 2000), 0.1f);  // wrapping difference: 200 ms
}

}  // namespace
