// Lattice hash, value noise, fractal sums and the scatter generator.
#include "tools/robot_generator/noise.h"

#include <cmath>

namespace robogen {
namespace {

int WrapIndex(int i, int period) {
  int r = i % period;
  return r < 0 ? r + period : r;
}

double Fade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }

double LatticeValue(int x, int y, uint32_t seed) {
  return static_cast<double>(HashLattice(x, y, seed) >> 8) / 16777215.0;
}

}  // namespace

uint32_t HashLattice(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B1u;
  h ^= static_cast<uint32_t>(x) * 0x85EBCA77u;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<uint32_t>(y) * 0xC2B2AE3Du;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

double ValueNoise(double x, double y, int periodX, int periodY, uint32_t seed) {
  if (periodX < 1) periodX = 1;
  if (periodY < 1) periodY = 1;
  double fx = std::floor(x);
  double fy = std::floor(y);
  // Wrap the cell first so that far-away coordinates cannot overflow the integer conversion.
  int x0 = WrapIndex(static_cast<int>(std::fmod(fx, periodX)), periodX);
  int y0 = WrapIndex(static_cast<int>(std::fmod(fy, periodY)), periodY);
  int x1 = WrapIndex(x0 + 1, periodX);
  int y1 = WrapIndex(y0 + 1, periodY);
  double tx = Fade(x - fx);
  double ty = Fade(y - fy);
  double a = LatticeValue(x0, y0, seed);
  double b = LatticeValue(x1, y0, seed);
  double c = LatticeValue(x0, y1, seed);
  double d = LatticeValue(x1, y1, seed);
  double top = a + (b - a) * tx;
  double bottom = c + (d - c) * tx;
  return top + (bottom - top) * ty;
}

double Fbm(double u, double v, int cellsX, int cellsY, int octaves, double gain, uint32_t seed) {
  double sum = 0.0;
  double weight = 1.0;
  double total = 0.0;
  for (int k = 0; k < octaves; ++k) {
    int px = cellsX << k;
    int py = cellsY << k;
    sum += weight * ValueNoise(u * px, v * py, px, py, seed + 101u * static_cast<uint32_t>(k));
    total += weight;
    weight *= gain;
  }
  return total > 0.0 ? sum / total : 0.0;
}

uint32_t Prng::Next() {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

double Prng::Uniform() { return static_cast<double>(Next() >> 8) / 16777216.0; }

int Prng::Below(int bound) {
  if (bound <= 1) return 0;
  return static_cast<int>(Uniform() * bound);
}

double SmoothStep(double edge0, double edge1, double x) {
  double t = (x - edge0) / (edge1 - edge0);
  t = t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t);
  return t * t * (3.0 - 2.0 * t);
}

}  // namespace robogen
