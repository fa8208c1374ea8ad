// The orbit camera's eye position.
#include "render/camera.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(CameraEye, StartAnglesLookFromFrontAndAbove) {
  const Vec3 eye = CameraEye(180.0, 20.0);
  EXPECT_NEAR(eye.x, -2.0, 1e-9);
  EXPECT_NEAR(eye.y, -7.397, 5e-4);
  EXPECT_NEAR(eye.z, 6.420, 5e-4);
}

TEST(CameraEye, AzimuthTurnsAroundTheCentreAtDistanceTen) {
  const Vec3 fromPlusY = CameraEye(0.0, 0.0);
  EXPECT_NEAR(fromPlusY.x, -2.0, 1e-12);
  EXPECT_NEAR(fromPlusY.y, 12.0, 1e-12);
  EXPECT_NEAR(fromPlusY.z, 3.0, 1e-12);
  const Vec3 fromPlusX = CameraEye(90.0, 0.0);
  EXPECT_NEAR(fromPlusX.x, 8.0, 1e-12);
  EXPECT_NEAR(fromPlusX.y, 2.0, 1e-12);
  for (double azimuth = -400.0; azimuth < 400.0; azimuth += 37.5) {
    for (double elevation = -10.0; elevation <= 80.0; elevation += 15.0) {
      const Vec3 eye = CameraEye(azimuth, elevation);
      const double dx = eye.x + 2.0, dy = eye.y - 2.0, dz = eye.z - 3.0;
      ASSERT_NEAR(std::sqrt(dx * dx + dy * dy + dz * dz), 10.0, 1e-9);
      ASSERT_NEAR(dz, 10.0 * std::sin(elevation * 0.017453292519943295), 1e-9);
    }
  }
  // At the drag limit the eye is still off the vertical, so the up vector (0, 0, 1) stays usable.
  const Vec3 top = CameraEye(180.0, 80.0);
  EXPECT_GT(std::hypot(top.x + 2.0, top.y - 2.0), 1.7);
}

}  // namespace
