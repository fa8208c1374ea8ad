#include "model/vec3.h"

#include <cmath>

void Normalize(Vec3& v) {
  const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  if (length == 0.0) return;
  v.x /= length;
  v.y /= length;
  v.z /= length;
}

void Cross(const Vec3& a, const Vec3& b, Vec3& out) {
  out.x = a.y * b.z - a.z * b.y;
  out.y = a.z * b.x - a.x * b.z;
  out.z = a.x * b.y - a.y * b.x;
  Normalize(out);
}
