// Vectors in model units (z up), and the two helpers every triangle goes through, inline because
// deriving a triangle's values runs for every face of the scene.
#pragma once

#include <cmath>

struct Vec3 {
  double x;
  double y;
  double z;
};

// Scales v to unit length; a zero vector stays zero, so a degenerate triangle keeps a zero normal.
inline void Normalize(Vec3& v) {
  const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  if (length == 0.0) return;
  v.x /= length;
  v.y /= length;
  v.z /= length;
}

// out = a x b scaled to unit length (Normalize): not the plain cross product, which a face normal
// never needs.
inline void Cross(const Vec3& a, const Vec3& b, Vec3& out) {
  out.x = a.y * b.z - a.z * b.y;
  out.y = a.z * b.x - a.x * b.z;
  out.z = a.x * b.y - a.y * b.x;
  Normalize(out);
}
