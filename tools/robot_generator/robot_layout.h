// Where the robot's joints are, shared by the files that build its parts. Only the left side is
// laid out; the right side is its mirror across x = kRobotCentreX.
#pragma once
#include "tools/robot_generator/robot_parts.h"
#include "tools/robot_generator/vec_math.h"

namespace robogen {

// The lower leg slides along this direction (the rig's stride vector, normalised), so the piston
// that carries the foot lies along it.
inline const Point3 kLegAxis{0.0, -0.70710678118654752, -0.70710678118654752};

constexpr double kLegX = kRobotCentreX + 1.55;
inline const Point3 kHipCentre{kRobotCentreX + 1.38, 2.25, 3.62};
inline const Point3 kKneeCentre{kLegX, 3.0, 2.3};
// Along kLegAxis from the knee: the sleeve's mouth and the ankle pin.
constexpr double kSleeveLength = 1.38;
constexpr double kAnkleDistance = 2.28;
// The rig slides the lower leg 0.6 * sqrt(2) along the axis; the piston keeps this much inside.
constexpr double kStrideTravel = 0.84852813742385702;

inline Point3 AlongLeg(double distance) { return kKneeCentre + kLegAxis * distance; }

}  // namespace robogen
