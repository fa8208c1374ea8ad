// Deterministic noise for the procedural textures: an integer lattice hash, tileable value noise
// and fractal sums of it, and a small seeded generator for scattering things. Nothing here reads a
// clock or any global state, so every picture comes out the same on every run.
#pragma once
#include <cstdint>

namespace robogen {

uint32_t HashLattice(int32_t x, int32_t y, uint32_t seed);

// Smoothly interpolated lattice values in [0, 1]. Lattice coordinates wrap with the given periods,
// so ValueNoise(x + periodX, y) == ValueNoise(x, y): a picture that spans whole periods tiles.
double ValueNoise(double x, double y, int periodX, int periodY, uint32_t seed);

// Fractal sum over `octaves` octaves, normalised to [0, 1]. (u, v) are picture coordinates in
// tiles (0 to 1 across the picture); octave k has cellsX * 2^k by cellsY * 2^k cells per tile and
// weight gain^k, so the sum tiles exactly as the first octave does.
double Fbm(double u, double v, int cellsX, int cellsY, int octaves, double gain, uint32_t seed);

// A small xorshift generator with a fixed seed (a seed of 0 is replaced, as xorshift needs bits).
class Prng {
 public:
  explicit Prng(uint32_t seed) : state(seed != 0 ? seed : 0x9E3779B9u) {}
  uint32_t Next();
  // Uniform in [0, 1).
  double Uniform();
  // Uniform integer in [0, bound) for bound >= 1.
  int Below(int bound);

 private:
  uint32_t state;
};

double SmoothStep(double edge0, double edge1, double x);

}  // namespace robogen
