// The orbit camera's eye position.
#include "render/camera.h"

#include <gtest/gtest.h>

namespace {

TEST(CameraEye, SitsOnTheOrbitAtTheGivenAngles) {
  const Vec3 start = CameraEye(180.0, 20.0);  // the start angles: in front, from above
  EXPECT_NEAR(start.x, -2.0, 1e-9);
  EXPECT_NEAR(start.y, -7.397, 5e-4);
  EXPECT_NEAR(start.z, 6.420, 5e-4);
  const Vec3 fromPlusX = CameraEye(90.0, 0.0);  // azimuth 90 looks from +x, level with the centre
  EXPECT_NEAR(fromPlusX.x, 8.0, 1e-12);
  EXPECT_NEAR(fromPlusX.y, 2.0, 1e-12);
  EXPECT_NEAR(fromPlusX.z, 3.0, 1e-12);
}

}  // namespace
