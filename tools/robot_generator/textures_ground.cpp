// The two grounds. The floor repeats its texture every 2.5 units, so both pictures tile: all noise
// spans whole periods of the picture and every regular pattern divides its size.
#include "tools/robot_generator/noise.h"
#include "tools/robot_generator/textures.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace robogen {

void PaintGrass(Picture& p) {
  const Rgb dark{40, 78, 26};
  const Rgb light{108, 146, 54};
  const Rgb soil{112, 92, 60};
  for (int y = 0; y < p.Height(); ++y) {
    for (int x = 0; x < p.Width(); ++x) {
      double u = (x + 0.5) / p.Width();
      double v = (y + 0.5) / p.Height();
      // Large patches stay faint: the tile repeats every 2.5 units and would show as a grid.
      double patch = Fbm(u, v, 8, 8, 4, 0.5, 61u);
      // Blades: noise stretched along v, in two layers of different size.
      double blades = std::fmax(ValueNoise(u * 96, v * 12, 96, 12, 62u),
                                ValueNoise(u * 128, v * 20, 128, 20, 63u));
      double grain = ValueNoise(u * 256, v * 256, 256, 256, 64u);
      double bare = SmoothStep(0.7, 0.8, Fbm(u, v, 6, 6, 4, 0.5, 65u));
      Rgb c = MixRgb(dark, light, 0.3 + 0.4 * SmoothStep(0.2, 0.8, patch));
      c = ScaleRgb(c, 0.72 + 0.45 * blades + 0.1 * (grain - 0.5));
      c = MixRgb(c, soil, 0.7 * bare * (1.0 - blades * 0.6));
      p.SetRgb(x, y, c);
    }
  }
  Prng rng(0xF10E7u);  // a few flowers, wrapping around the edges
  for (int i = 0; i < 60; ++i) {
    int x = rng.Below(p.Width());
    int y = rng.Below(p.Height());
    Rgb petal = rng.Uniform() < 0.5 ? Rgb{236, 214, 70} : Rgb{240, 240, 232};
    p.SetRgb(x, y, petal);
    p.SetRgb((x + 1) % p.Width(), y, ScaleRgb(petal, 0.85));
    p.SetRgb(x, (y + 1) % p.Height(), ScaleRgb(petal, 0.8));
  }
}

void PaintGray3(Picture& p) {
  Rgb palette[256];
  for (int i = 0; i < 256; ++i)
    palette[i] = Rgb{ToByte(i * 0.93), ToByte(i * 0.95), ToByte(i * 1.0)};
  p.SetPalette(palette, 256);
  constexpr int kPlate = 128;  // two by two plates per tile
  constexpr int kTread = 16;   // one raised diamond per 16 x 16 cell
  for (int y = 0; y < p.Height(); ++y) {
    for (int x = 0; x < p.Width(); ++x) {
      double u = (x + 0.5) / p.Width();
      double v = (y + 0.5) / p.Height();
      int px = x % kPlate;
      int py = y % kPlate;
      int plate = (x / kPlate + 2 * (y / kPlate)) & 3;
      double value = 0.5 + 0.03 * (plate - 1.5) + 0.16 * (Fbm(u, v, 4, 4, 5, 0.55, 71u) - 0.5);
      // Raised diamonds, alternating their slant from cell to cell.
      double lx = ((x % kTread) + 0.5) / kTread * 2.0 - 1.0;
      double ly = ((y % kTread) + 0.5) / kTread * 2.0 - 1.0;
      double slant = (((x / kTread) + (y / kTread)) & 1) ? 1.0 : -1.0;
      double a = (lx + slant * ly) * 0.70710678;
      double b = (lx - slant * ly) * 0.70710678;
      double e = (a / 0.78) * (a / 0.78) + (b / 0.2) * (b / 0.2);
      if (e < 1.0) value += 0.1 - 0.12 * (ly + lx * 0.3) * 0.5;
      // Seams between plates: a dark groove with a lit and a shaded lip.
      int edge = std::min(std::min(px, kPlate - 1 - px), std::min(py, kPlate - 1 - py));
      if (edge == 0)
        value = 0.16;
      else if (edge == 1)
        value += (px == 1 || py == 1) ? 0.1 : -0.1;
      // Rivets near the plate corners.
      for (int cx : {7, kPlate - 8}) {
        for (int cy : {7, kPlate - 8}) {
          double dx = px + 0.5 - (cx + 0.5);
          double dy = py + 0.5 - (cy + 0.5);
          double r = std::sqrt(dx * dx + dy * dy);
          if (r < 3.2) value = 0.62 - 0.06 * (dx + dy) / 3.2;
        }
      }
      value += 0.05 * (ValueNoise(u * 256, v * 256, 256, 256, 72u) - 0.5);
      p.SetIndex(x, y, static_cast<int>(value * 255.0 + 0.5));
    }
  }
}

}  // namespace robogen
