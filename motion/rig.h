// The walking robot: seven parts built from the first 22 scene meshes, and the speed control that
// re-times the moving parts at the current phase of the gait.
#pragma once

#include <cstdint>

// The robot's parts by their PartTable slot (slots 7 to 9 stay empty). Each leg hangs from the
// body by its upper part, which carries the lower part below it; the arm pods hang from the body.
constexpr int32_t LeftLowerLegPart = 0;   // piston, ankle, foot, toes, heel
constexpr int32_t LeftUpperLegPart = 1;   // hip, thigh, knee, sleeve
constexpr int32_t RightLowerLegPart = 2;
constexpr int32_t RightUpperLegPart = 3;
constexpr int32_t BodyPart = 4;  // hull and cockpit: the root, which carries everything
constexpr int32_t RightPodPart = 5;
constexpr int32_t LeftPodPart = 6;
constexpr int32_t RootPartIndex = BodyPart;

// Fills the PartTable with the robot, timed from the system clock and the current speedPeriod.
void BuildRig();
// Stores the new period in speedPeriod and re-times the body, the pods and the lower legs so that
// the limbs continue at the phase they had; in manual mode the manual clock is the time base.
void SetSpeed(uint32_t newPeriod);
