// Small vector arithmetic and placement frames for building the robot's meshes. Header only; the
// generator keeps its own types in its own namespace so that it never clashes with the viewer's.
#pragma once
#include <cmath>

namespace robogen {

struct Point3 {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

inline Point3 operator+(Point3 a, Point3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Point3 operator-(Point3 a, Point3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Point3 operator*(Point3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline Point3 operator*(double s, Point3 a) { return a * s; }
inline double Dot(Point3 a, Point3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Point3 CrossProduct(Point3 a, Point3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Length(Point3 a) { return std::sqrt(Dot(a, a)); }
inline Point3 Unit(Point3 a) {
  double len = Length(a);
  return len > 0.0 ? a * (1.0 / len) : a;
}

// A placement: local (a, b, c) lands at origin + a*u + b*v + c*w. Shapes are built around the w
// axis; as long as u x v points along w the frame keeps a shape's outside outside.
struct Frame {
  Point3 origin;
  Point3 u{1.0, 0.0, 0.0};
  Point3 v{0.0, 1.0, 0.0};
  Point3 w{0.0, 0.0, 1.0};

  Point3 Map(double a, double b, double c) const { return origin + u * a + v * b + w * c; }
};

// A right-handed unit frame whose w runs along `axis`. For a horizontal or slanted axis u comes out
// horizontal, which keeps the seams of round shapes in predictable places.
inline Frame AxisFrame(Point3 origin, Point3 axis) {
  Frame f;
  f.origin = origin;
  f.w = Unit(axis);
  Point3 helper = std::fabs(f.w.z) < 0.9 ? Point3{0.0, 0.0, 1.0} : Point3{0.0, -1.0, 0.0};
  f.u = Unit(CrossProduct(helper, f.w));
  f.v = CrossProduct(f.w, f.u);
  return f;
}

// The same frame stretched along its own axes (positive factors keep the handedness).
inline Frame Scaled(Frame f, double su, double sv, double sw) {
  f.u = f.u * su;
  f.v = f.v * sv;
  f.w = f.w * sw;
  return f;
}

}  // namespace robogen
