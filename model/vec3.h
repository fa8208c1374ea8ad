// Vectors in model units (z up), and the two helpers every triangle goes through. Defined here, and
// for one value or two at a time (Lanes), so that deriving a triangle's values, which runs for
// every face of the scene, compiles them inline for one triangle or two side by side.
#pragma once

#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

template <typename T>
struct Vec3Of {
  T x;
  T y;
  T z;
};
using Vec3 = Vec3Of<double>;

// The same value of two triangles. Each lane is rounded exactly as the same operation on one double.
using Lanes = double __attribute__((vector_size(16)));

inline double SquareRoot(double v) { return std::sqrt(v); }
inline Lanes SquareRoot(Lanes v) {
#if defined(__SSE2__)
  return _mm_sqrt_pd(v);
#else
  return Lanes{std::sqrt(v[0]), std::sqrt(v[1])};
#endif
}

// Scales v to unit length; a zero vector stays zero, so a degenerate triangle keeps a zero normal.
template <typename T>
inline void Normalize(Vec3Of<T>& v) {
  const T length = SquareRoot(v.x * v.x + v.y * v.y + v.z * v.z);
  const auto zero = length == 0.0;
  v.x = zero ? v.x : v.x / length;
  v.y = zero ? v.y : v.y / length;
  v.z = zero ? v.z : v.z / length;
}

// out = normalised a x b.
template <typename T>
inline void Cross(const Vec3Of<T>& a, const Vec3Of<T>& b, Vec3Of<T>& out) {
  out.x = a.y * b.z - a.z * b.y;
  out.y = a.z * b.x - a.x * b.z;
  out.z = a.x * b.y - a.y * b.x;
  Normalize(out);
}
