// The two skies for the dome. The dome maps the picture's width once around the vertical axis
// (so the left and right edges meet) and its height from the bottom pole to the top, so each row
// is one altitude: the top row is the zenith and is kept a single colour, as is the bottom row.
#include "tools/robot_generator/noise.h"
#include "tools/robot_generator/textures.h"

#include <cmath>

namespace robogen {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Sine of the altitude of row y: 1 at the top row's centre line, -1 at the bottom.
double RowAltitude(int y, int height) {
  double t = 1.0 - (y + 0.5) / height;
  return std::sin((t - 0.5) * kPi);
}

}  // namespace

void PaintSky1(Picture& p) {
  const Rgb zenith{38, 86, 184};
  const Rgb horizon{206, 222, 240};
  const Rgb haze{150, 160, 172};
  for (int y = 0; y < p.Height(); ++y) {
    double alt = RowAltitude(y, p.Height());
    Rgb base = alt >= 0.0 ? MixRgb(horizon, zenith, std::pow(alt, 0.55))
                          : MixRgb(horizon, haze, std::fmin(1.0, -alt * 3.0));
    // Clouds stay low, where the camera sees the dome and the sphere does not pinch them.
    double window = SmoothStep(0.0, 0.05, alt) * (1.0 - SmoothStep(0.35, 0.65, alt));
    for (int x = 0; x < p.Width(); ++x) {
      double u = (x + 0.5) / p.Width();
      double v = (y + 0.5) / p.Height();
      double density = Fbm(u, v, 16, 16, 5, 0.55, 41u);
      double cover = SmoothStep(0.36, 0.6, density) * window;
      double shade = Fbm(u + 0.013, v + 0.02, 16, 16, 4, 0.5, 42u);
      Rgb cloud = MixRgb(Rgb{252, 252, 254}, Rgb{168, 174, 192}, SmoothStep(0.35, 0.75, shade));
      p.SetRgb(x, y, MixRgb(base, cloud, cover));
    }
  }
}

void PaintStars2(Picture& p) {
  // Palette: 0-127 night background from black to a dim blue glow, 128-191 cool stars and
  // 192-255 warm stars, each from faint to bright.
  Rgb palette[256];
  for (int i = 0; i < 128; ++i) palette[i] = MixRgb(Rgb{0, 0, 2}, Rgb{84, 86, 120}, i / 127.0);
  for (int i = 0; i < 64; ++i) {
    palette[128 + i] = MixRgb(Rgb{60, 66, 92}, Rgb{236, 242, 255}, i / 63.0);
    palette[192 + i] = MixRgb(Rgb{72, 62, 50}, Rgb{255, 238, 206}, i / 63.0);
  }
  p.SetPalette(palette, 256);
  const int w = p.Width();
  const int h = p.Height();
  for (int y = 0; y < h; ++y) {
    double alt = RowAltitude(y, h);
    double lat = std::asin(alt);
    double background = 0.06 * std::pow(1.0 - std::fabs(alt), 3.0);
    for (int x = 0; x < w; ++x) {
      double u = (x + 0.5) / w;
      // The galaxy's band is a great circle, a sine wave in this projection; the quantised
      // glow changes slowly along a row, which keeps the run-length data short.
      double centre = 0.45 * std::sin(2.0 * kPi * u + 1.1);
      double d = (lat - centre) / 0.22;
      double glow = std::exp(-d * d) * (0.35 + 0.65 * Fbm(u, (y + 0.5) / h, 6, 3, 4, 0.5, 51u));
      double level = background + 0.42 * glow;
      p.SetIndex(x, y, static_cast<int>(std::floor(level * 127.0 / 0.5 + 0.5)));
    }
  }
  // Stars, uniformly over the sphere: a row near the poles is short on the sphere, so fewer land
  // there, and none lands in the top or bottom row.
  Prng rng(0x5EED57A2u);
  constexpr int kStars = 1400;
  for (int placed = 0, tries = 0; placed < kStars && tries < 20 * kStars; ++tries) {
    int x = rng.Below(w);
    int y = 1 + rng.Below(h - 2);
    double alt = RowAltitude(y, h);
    double keep = std::sqrt(1.0 - alt * alt);
    double chance = rng.Uniform();
    double brightness = std::pow(rng.Uniform(), 3.0);
    bool warm = rng.Uniform() < 0.3;
    if (chance > keep) continue;
    ++placed;
    int base = warm ? 192 : 128;
    int level = static_cast<int>(brightness * 63.0 + 0.5);
    p.SetIndex(x, y, base + level);
    if (brightness > 0.8 && y > 1 && y < h - 2) {  // the brightest get a faint glow
      int halo = base + level / 4;
      p.SetIndex((x + 1) % w, y, halo);
      p.SetIndex((x + w - 1) % w, y, halo);
      p.SetIndex(x, y - 1, halo);
      p.SetIndex(x, y + 1, halo);
    }
  }
}

}  // namespace robogen
