// The orbit camera's eye position.
#include "render/camera.h"

#include <gtest/gtest.h>

TEST(CameraEye, SitsOnTheOrbitAtTheGivenAngles) {
  const struct {
    double azimuth, elevation, x, y, z;
  } cases[] = {{180, 20, -2.0, -7.3969, 6.4202}, {90, 0, 8.0, 2.0, 3.0}, {-90, -10, -11.8481, 2.0, 1.2635}};
  for (const auto& c : cases) {
    const Vec3 eye = CameraEye(c.azimuth, c.elevation);
    EXPECT_NEAR(eye.x, c.x, 1e-4) << c.azimuth << " " << c.elevation;
    EXPECT_NEAR(eye.y, c.y, 1e-4) << c.azimuth << " " << c.elevation;
    EXPECT_NEAR(eye.z, c.z, 1e-4) << c.azimuth << " " << c.elevation;
  }
}
