// Vectors in model units (z up), and the two helpers every triangle goes through.
#pragma once

struct Vec3 {
  double x;
  double y;
  double z;
};

// Scales v to unit length; a zero vector stays zero, so a degenerate triangle keeps a zero normal.
void Normalize(Vec3& v);
// out = normalised a x b.
void Cross(const Vec3& a, const Vec3& b, Vec3& out);
