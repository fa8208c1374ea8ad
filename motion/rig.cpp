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
constexpr PartMeshes RigMeshes[] = {{LeftLowerLegPart, 0, 4},  {LeftUpperLegPart, 5, 8}, {RightLowerLegPart, 9, 13},
                                    {RightUpperLegPart, 14, 17}, {BodyPart, 18, 19},    {RightPodPart, 20, 20},
                                    {LeftPodPart, 21, 21}};

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
  parts[BodyPart].AddChild(RightPodPart);
  parts[BodyPart].AddChild(LeftPodPart);
  parts[BodyPart].AddChild(LeftUpperLegPart);
  parts[BodyPart].AddChild(RightUpperLegPart);
  parts[LeftUpperLegPart].AddChild(LeftLowerLegPart);
  parts[RightUpperLegPart].AddChild(RightLowerLegPart);

  const uint32_t now = timeGetTime();
  const uint32_t s = viewState.speedPeriod;
  // The root bobs twice per cycle; the arm pods and the lower legs swing half a cycle apart.
  SetMotion(parts[BodyPart], {0.0, 0.0, 0.1}, s >> 1, now - (s >> 2));
  SetMotion(parts[RightPodPart], {0.0, 0.0, 0.25}, s, now - (s >> 1));
  SetMotion(parts[LeftPodPart], {0.0, 0.0, 0.25}, s, now);
  SetMotion(parts[LeftLowerLegPart], {0.0, -0.6, -0.6}, s, now - (s >> 1));
  SetMotion(parts[RightLowerLegPart], {0.0, -0.6, -0.6}, s, now);
}

void SetSpeed(uint32_t newPeriod) {
  viewState.speedPeriod = newPeriod;
  uint32_t now = timeGetTime();
  if (viewState.manualMode) now = viewState.manualClock;
  RigPart* parts = partTable.parts;
  // The left pod leads the gait: its phase is the one the limbs keep.
  const float phase = GaitPhase(now, parts[LeftPodPart].startTime, parts[LeftPodPart].period);
  const GaitTiming timing = ComputeGaitTiming(newPeriod, now, phase);
  parts[BodyPart].period = timing.rootPeriod;
  parts[BodyPart].startTime = timing.rootStartTime;
  parts[RightPodPart].period = timing.limbPeriod;
  parts[RightPodPart].startTime = timing.trailingStartTime;
  parts[LeftPodPart].period = timing.limbPeriod;
  parts[LeftPodPart].startTime = timing.leadingStartTime;
  parts[LeftLowerLegPart].period = timing.limbPeriod;
  parts[LeftLowerLegPart].startTime = timing.trailingStartTime;
  parts[RightLowerLegPart].period = timing.limbPeriod;
  parts[RightLowerLegPart].startTime = timing.leadingStartTime;
}
