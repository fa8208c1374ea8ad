// BuildRig and SetSpeed over the global PartTable.
#include "motion/rig.h"

#include "platform/view_state.h"
#include "motion/gait_timing.h"
#include "motion/part_table.h"
#include "platform/clock.h"

namespace {

struct PartMeshes {
  int32_t part;
  int32_t firstModel;
  int32_t lastModel;
};

// Each part's meshes, by ModelLibrary slot, in increasing order.
constexpr PartMeshes RigMeshes[] = {{0, 0, 4}, {1, 5, 8}, {2, 9, 13}, {3, 14, 17}, {4, 18, 19}, {5, 20, 20}, {6, 21, 21}};

void SetMotion(RigPart& part, const Vec3& motion, uint32_t period, uint32_t startTime) {
  part.motion = motion;
  part.period = period;
  part.startTime = startTime;
}

}  // namespace

void BuildRig() {
  RigPart* parts = partTable.parts;
  for (const PartMeshes& entry : RigMeshes) {
    for (int32_t model = entry.firstModel; model <= entry.lastModel; ++model) parts[entry.part].AddModel(model);
  }
  partTable.rootPart = RootPartIndex;
  parts[4].AddChild(5);
  parts[4].AddChild(6);
  parts[4].AddChild(1);
  parts[4].AddChild(3);
  parts[1].AddChild(0);
  parts[3].AddChild(2);

  const uint32_t now = timeGetTime();
  const uint32_t s = viewState.speedPeriod;
  // The root bobs twice per cycle; the arm pods and the lower legs swing half a cycle apart.
  SetMotion(parts[4], {0.0, 0.0, 0.1}, s >> 1, now - (s >> 2));
  SetMotion(parts[5], {0.0, 0.0, 0.25}, s, now - (s >> 1));
  SetMotion(parts[6], {0.0, 0.0, 0.25}, s, now);
  SetMotion(parts[0], {0.0, -0.6, -0.6}, s, now - (s >> 1));
  SetMotion(parts[2], {0.0, -0.6, -0.6}, s, now);
}

void SetSpeed(uint32_t newPeriod) {
  viewState.speedPeriod = newPeriod;
  uint32_t now = timeGetTime();
  if (viewState.manualMode) now = viewState.manualClock;
  RigPart* parts = partTable.parts;
  const float phase = GaitPhase(now, parts[6].startTime, parts[6].period);
  const GaitTiming timing = ComputeGaitTiming(newPeriod, now, phase);
  parts[4].period = timing.rootPeriod;
  parts[4].startTime = timing.rootStartTime;
  parts[5].period = timing.limbPeriod;
  parts[5].startTime = timing.trailingStartTime;
  parts[6].period = timing.limbPeriod;
  parts[6].startTime = timing.leadingStartTime;
  parts[0].period = timing.limbPeriod;
  parts[0].startTime = timing.trailingStartTime;
  parts[2].period = timing.limbPeriod;
  parts[2].startTime = timing.leadingStartTime;
}
