// The left leg's meshes, in rig order. The callers name and clear the meshes first.
#pragma once
#include "tools/robot_generator/mesh_builder.h"

namespace robogen {

// objects[0..4]: piston, ankle, foot, toes, heel (the part that slides).
void BuildLowerLeg(Mesh* objects);
// objects[0..3]: hip joint, thigh, knee, sleeve (fixed to the hull).
void BuildUpperLeg(Mesh* objects);

}  // namespace robogen
