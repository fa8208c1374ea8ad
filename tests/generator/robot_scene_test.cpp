// The robot as the rig will move it: the object count, the viewer's face limits, the soles' plane,
// and which side of the body each slot lies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>

#include "tools/robot_generator/robot_layout.h"
#include "tools/robot_generator/robot_parts.h"

namespace {

using namespace robogen;

const Robot& TheRobot() {
  static Robot* robot = [] {
    Robot* r = new Robot;
    EXPECT_TRUE(BuildRobot(*r));
    return r;
  }();
  return *robot;
}

struct Box {
  Point3 low{1e9, 1e9, 1e9};
  Point3 high{-1e9, -1e9, -1e9};
  void Add(const Mesh& m) {
    for (int i = 0; i < m.VertexCount(); ++i) {
      const Point3& p = m.VertexAt(i);
      low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
      high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
  }
};

Box SlotBox(int first, int last) {
  Box b;
  for (int i = first; i <= last; ++i) b.Add(TheRobot().objects[i]);
  return b;
}

// Closure and orientation are checked on the written file (scene_file_test), after rounding.
TEST(GeneratorRobot, HasTwentyTwoNamedObjectsWithinTheFaceLimits) {
  int total = 0;
  std::set<std::string> names;
  for (const Mesh& m : TheRobot().objects) {
    EXPECT_FALSE(m.Failed()) << m.Name();
    EXPECT_GT(m.FaceCount(), 0) << m.Name();
    EXPECT_LE(m.FaceCount(), 3000) << m.Name();
    total += m.FaceCount();
    names.insert(m.Name());
  }
  EXPECT_EQ(names.size(), static_cast<size_t>(kRobotObjectCount));
  EXPECT_GE(total, 45000);
}

TEST(GeneratorRobot, OnlyTheSolesReachTheSolePlane) {
  // The rig lowers a foot by 0.6 at full stride while the hull is at most 0.1 up, and the ground
  // is at -0.45: both soles must sit exactly at 0.05 in the file, nothing else as low.
  EXPECT_NEAR(SlotBox(0, 4).low.z, kSoleZ, 1e-6);
  EXPECT_NEAR(SlotBox(9, 13).low.z, kSoleZ, 1e-6);
  EXPECT_NEAR(SlotBox(2, 2).low.z, kSoleZ, 1e-6) << "the foot body carries the sole";
  EXPECT_GT(SlotBox(5, 8).low.z, kSoleZ + 0.3);
  EXPECT_GT(SlotBox(14, 21).low.z, kSoleZ + 0.3);
  EXPECT_GE(SlotBox(3, 4).low.z, kSoleZ + 0.01) << "claws above the sole, clear of the ground";
}

TEST(GeneratorRobot, StandsAroundTheCameraCentreAboutSixUnitsTall) {
  Box all = SlotBox(0, kRobotObjectCount - 1);
  EXPECT_NEAR(0.5 * (all.low.x + all.high.x), kRobotCentreX, 0.05);
  EXPECT_NEAR(0.5 * (all.low.y + all.high.y), kRobotCentreY, 0.6);
  EXPECT_GT(all.high.z - all.low.z, 5.5);
  EXPECT_LT(all.high.z - all.low.z, 6.5);
  Box body = SlotBox(18, 19);
  EXPECT_GT(body.low.z, 2.5) << "the hull rides on the legs";
}

TEST(GeneratorRobot, EachSlotLiesOnItsSideOfTheBody) {
  // Part 0's leg is slots 0-8; the pod in slot 20 rises with it and must be on the other side.
  EXPECT_GT(SlotBox(0, 8).low.x, kRobotCentreX);
  EXPECT_LT(SlotBox(9, 17).high.x, kRobotCentreX);
  EXPECT_LT(SlotBox(20, 20).high.x, kRobotCentreX);
  EXPECT_GT(SlotBox(21, 21).low.x, kRobotCentreX);
  // The robot faces -y: toes ahead of the foot, the heel behind it.
  for (int side : {0, 9}) {
    EXPECT_LT(SlotBox(side + 3, side + 3).low.y, SlotBox(side + 2, side + 2).low.y);
    EXPECT_GT(SlotBox(side + 4, side + 4).high.y, SlotBox(side + 2, side + 2).high.y);
  }
}

TEST(GeneratorRobot, ThePistonStaysInItsSleeveThroughTheStride) {
  // Measured along the leg axis from the knee: the piston's inner end at full stride must still be
  // inside the sleeve, and the piston must reach the ankle at rest.
  for (int piston : {0, 9}) {
    const Mesh& m = TheRobot().objects[piston];
    Point3 knee = kKneeCentre;
    if (piston == 9) knee.x = 2.0 * kRobotCentreX - knee.x;
    double nearest = 1e9, farthest = -1e9;
    for (int i = 0; i < m.VertexCount(); ++i) {
      double along = Dot(m.VertexAt(i) - knee, kLegAxis);
      nearest = std::min(nearest, along);
      farthest = std::max(farthest, along);
    }
    EXPECT_LT(nearest + kStrideTravel, kSleeveLength - 0.1);
    EXPECT_GT(nearest, 0.0);
    EXPECT_NEAR(farthest, kAnkleDistance, 0.2);
  }
}

TEST(GeneratorRobot, UsesAllFourMaterials) {
  std::set<Material> used;
  for (const Mesh& m : TheRobot().objects)
    for (int i = 0; i < m.FaceCount(); ++i) used.insert(m.FaceAt(i).material);
  EXPECT_EQ(used.size(), static_cast<size_t>(kMaterialCount));
}

}  // namespace
