// The walking robot: seven parts built from the first 22 scene meshes, and the speed control that
// re-times the moving parts at the current phase of the gait.
#pragma once

#include <cstdint>

// Slots of the PartTable that the robot uses.
constexpr int32_t RootPartIndex = 4;

// Fills the PartTable with the robot, timed from the system clock and the current speedPeriod.
void BuildRig();
// Stores the new period in speedPeriod and re-times parts 4, 5, 6, 0 and 2 so that the limbs
// continue at the phase they had; in manual mode the manual clock is the time base.
void SetSpeed(uint32_t newPeriod);
