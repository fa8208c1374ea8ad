// Orbit camera placement.
#include "render/camera.h"

#include <GL/glu.h>

#include <cmath>

#include "platform/view_state.h"

namespace {
constexpr double DegreesToRadians = 0.017453292519943295;
constexpr double CameraDistance = 10;
constexpr Vec3 CameraCentre = {-2.0, 2.0, 3.0};
}  // namespace

Vec3 CameraEye(double azimuthDegrees, double elevationDegrees) {
  const double a = azimuthDegrees * DegreesToRadians;
  const double e = elevationDegrees * DegreesToRadians;
  return {std::sin(a) * std::cos(e) * CameraDistance + CameraCentre.x,
          std::cos(a) * std::cos(e) * CameraDistance + CameraCentre.y,
          std::sin(e) * CameraDistance + CameraCentre.z};
}

void PlaceCamera() {
  const Vec3 eye = CameraEye(viewState.azimuth, viewState.elevation);
  gluLookAt(eye.x, eye.y, eye.z, CameraCentre.x, CameraCentre.y, CameraCentre.z, 0.0, 0.0, 1.0);
}
