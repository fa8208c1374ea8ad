// The robot's upper body: hull and cockpit (the root part) and the left weapon pod. The callers
// name and clear the meshes first.
#pragma once
#include "tools/robot_generator/mesh_builder.h"

namespace robogen {

void BuildHull(Mesh& mesh);
void BuildCockpit(Mesh& mesh);
// The pod on the +x side; its mirror is the right pod.
void BuildLeftPod(Mesh& mesh);

}  // namespace robogen
