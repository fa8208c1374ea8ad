// Assembles the 22 meshes in rig order: the left side is built, the right side mirrored from it.
#include "tools/robot_generator/robot_parts.h"

#include "tools/robot_generator/robot_body.h"
#include "tools/robot_generator/robot_legs.h"

namespace robogen {
namespace {

// Object names as they appear in the file, indexed by slot. A mirrored slot names its source.
struct SlotName {
  const char* name;
  int mirrorOf;  // -1: built directly
};

constexpr SlotName kSlots[kRobotObjectCount] = {
    {"LeftPiston", -1}, {"LeftAnkle", -1},  {"LeftFoot", -1},  {"LeftToes", -1},
    {"LeftHeel", -1},   {"LeftHip", -1},    {"LeftThigh", -1}, {"LeftKnee", -1},
    {"LeftSleeve", -1}, {"RightPiston", 0}, {"RightAnkle", 1}, {"RightFoot", 2},
    {"RightToes", 3},   {"RightHeel", 4},   {"RightHip", 5},   {"RightThigh", 6},
    {"RightKnee", 7},   {"RightSleeve", 8}, {"Hull", -1},      {"Cockpit", -1},
    {"RightPod", 21},   {"LeftPod", -1}};

}  // namespace

bool BuildRobot(Robot& robot) {
  Mesh* o = robot.objects;
  for (int i = 0; i < kRobotObjectCount; ++i) o[i].Clear(kSlots[i].name);
  BuildLowerLeg(&o[0]);
  BuildUpperLeg(&o[5]);
  BuildHull(o[18]);
  BuildCockpit(o[19]);
  BuildLeftPod(o[21]);
  bool ok = true;
  for (int i = 0; i < kRobotObjectCount; ++i) {
    if (kSlots[i].mirrorOf >= 0) {
      o[i].CopyFrom(o[kSlots[i].mirrorOf], kSlots[i].name);
      o[i].MirrorX(kRobotCentreX);
    }
  }
  for (int i = 0; i < kRobotObjectCount; ++i) ok = ok && !o[i].Failed();
  return ok;
}

}  // namespace robogen
