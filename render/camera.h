// The orbit camera: a point on a sphere of radius 10 around the robot's centre (-2, 2, 3), placed
// by azimuth (0 looks from +y, 90 from +x) and elevation, with z up.
#pragma once

#include "model/vec3.h"

// The eye position for the two angles in degrees.
Vec3 CameraEye(double azimuthDegrees, double elevationDegrees);

// Multiplies the look-at transform for the view state's angles onto the current modelview matrix.
void PlaceCamera();
