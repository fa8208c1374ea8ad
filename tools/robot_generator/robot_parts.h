// The walking robot as the viewer's rig expects it: 22 meshes whose order is the rig's slot order.
//   0-4   left lower leg and foot (+x side): piston, ankle, foot, toes, heel    - slides as part 0
//   5-8   left upper leg: hip joint, thigh, knee, sleeve                        - fixed to the hull
//   9-13  right lower leg and foot (-x side), mirror of 0-4                     - slides as part 2
//   14-17 right upper leg, mirror of 5-8                                        - fixed to the hull
//   18-19 hull and cockpit                                                      - the bobbing root
//   20    right weapon pod (-x side, rises with the left leg's stride)
//   21    left weapon pod (+x side)
// The robot faces -y with z up, so its left is +x. Coordinates are the file's: the rig moves
// whole parts but never reshapes them.
#pragma once
#include "tools/robot_generator/mesh_builder.h"

namespace robogen {

constexpr int kRobotObjectCount = 22;

struct Robot {
  Mesh objects[kRobotObjectCount];
};

// Builds every object, mirrors the left side into the right, and returns false when any object
// failed (did not fit its mesh).
bool BuildRobot(Robot& robot);

// The sole plane in the file: the rig lowers a sole by 0.6 at full stride and the hull rises by at
// most 0.1, which brings it to the ground at -0.45.
constexpr double kSoleZ = 0.05;
constexpr double kRobotCentreX = -2.0;
constexpr double kRobotCentreY = 2.0;

}  // namespace robogen
