// The robot's three metals. Each robot triangle shows a patch of its texture scaled to the
// triangle, so the detail here is fine-grained and the pictures tile in both directions.
#include "tools/robot_generator/noise.h"
#include "tools/robot_generator/textures.h"

#include <cmath>

namespace robogen {
namespace {

constexpr double kTwoPi = 6.28318530717958648;

double Clamp01(double v) { return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v); }

// 4 x 4 ordered-dither thresholds; 256 is a multiple of 4, so the pattern tiles with the picture.
constexpr int kBayer4[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

}  // namespace

void PaintGray1(Picture& p) {
  constexpr int kLevels = 16;
  Rgb palette[kLevels];
  for (int i = 0; i < kLevels; ++i) {
    palette[i] =
        MixRgb(Rgb{26, 26, 31}, Rgb{128, 126, 136}, static_cast<double>(i) / (kLevels - 1));
  }
  p.SetPalette(palette, kLevels);
  for (int y = 0; y < p.Height(); ++y) {
    for (int x = 0; x < p.Width(); ++x) {
      double u = (x + 0.5) / p.Width();
      double v = (y + 0.5) / p.Height();
      double mottle = Fbm(u, v, 4, 4, 5, 0.55, 11u);
      double grain = ValueNoise(u * 128, v * 128, 128, 128, 12u);
      double pits = SmoothStep(0.78, 0.9, ValueNoise(u * 48, v * 48, 48, 48, 13u));
      double value = Clamp01(0.15 + 0.55 * mottle + 0.25 * grain - 0.25 * pits);
      double level = value * (kLevels - 1) + (kBayer4[y & 3][x & 3] + 0.5) / 16.0 - 0.5;
      p.SetIndex(x, y, static_cast<int>(std::floor(level + 0.5)));
    }
  }
}

void PaintGray2(Picture& p) {
  for (int y = 0; y < p.Height(); ++y) {
    for (int x = 0; x < p.Width(); ++x) {
      double u = (x + 0.5) / p.Width();
      double v = (y + 0.5) / p.Height();
      // Brushing: long along u, thin across v.
      double streak = ValueNoise(u * 3, v * 160, 3, 160, 21u);
      double fine = ValueNoise(u * 8, v * 256, 8, 256, 22u);
      double cloud = Fbm(u, v, 2, 2, 4, 0.5, 23u);
      double band = std::sin(kTwoPi * (v + 0.2 * cloud));
      double value = 0.66 + 0.12 * (streak - 0.5) + 0.08 * (fine - 0.5) + 0.12 * band;
      Rgb c{ToByte(value * 236), ToByte(value * 240), ToByte(value * 248)};
      p.SetRgb(x, y, c);
    }
  }
}

void PaintBlue1(Picture& p) {
  constexpr int kPaintLevels = 224;
  Rgb palette[256];
  for (int i = 0; i < kPaintLevels; ++i) {
    palette[i] =
        MixRgb(Rgb{14, 28, 78}, Rgb{96, 146, 232}, static_cast<double>(i) / (kPaintLevels - 1));
  }
  for (int i = kPaintLevels; i < 256; ++i) {  // bare metal where the paint has chipped
    palette[i] = MixRgb(Rgb{70, 74, 86}, Rgb{150, 154, 166},
                        static_cast<double>(i - kPaintLevels) / (255 - kPaintLevels));
  }
  p.SetPalette(palette, 256);
  for (int y = 0; y < p.Height(); ++y) {
    for (int x = 0; x < p.Width(); ++x) {
      double u = (x + 0.5) / p.Width();
      double v = (y + 0.5) / p.Height();
      double mottle = Fbm(u, v, 4, 4, 5, 0.5, 31u);
      double grain = ValueNoise(u * 128, v * 128, 128, 128, 32u);
      double wear = Fbm(u, v, 16, 16, 3, 0.6, 33u);
      double scratch = ValueNoise(u * 2, v * 96, 2, 96, 34u);
      bool chipped = wear > 0.77 || (scratch > 0.95 && wear > 0.66);
      if (chipped) {
        p.SetIndex(x, y, kPaintLevels + static_cast<int>(grain * (255 - kPaintLevels)));
      } else {
        // Low contrast: every triangle shows another patch, so strong detail turns to speckle.
        double value = Clamp01(0.38 + 0.36 * mottle + 0.12 * (grain - 0.5) -
                               0.15 * SmoothStep(0.66, 0.77, wear));
        p.SetIndex(x, y, static_cast<int>(value * (kPaintLevels - 1) + 0.5));
      }
    }
  }
}

}  // namespace robogen
