// The seven textures: the sizes and encodings the viewer gets, ImageMagick reading each written
// file back to exactly the painted pixels, seamless wrapping where the viewer repeats a picture,
// a plain zenith and nadir for the sky dome, and noise that tiles by construction.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>

#include "generator/imagemagick_probe.h"
#include "support/scratch_dir.h"
#include "tools/robot_generator/noise.h"
#include "tools/robot_generator/textures.h"

namespace {

using namespace robogen;

bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

int Difference(Rgb a, Rgb b) {
  return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

// Mean colour difference across the wrap-around edge, relative to the mean difference between
// neighbouring columns (or rows) inside the picture; about 1 for a seamless picture.
double SeamRatio(const Picture& p, bool acrossColumns) {
  int w = p.Width(), h = p.Height();
  int lines = acrossColumns ? w : h;
  int length = acrossColumns ? h : w;
  auto at = [&](int line, int k) { return acrossColumns ? p.GetRgb(line, k) : p.GetRgb(k, line); };
  double inside = 0.0, seam = 0.0;
  for (int line = 0; line + 1 < lines; ++line)
    for (int k = 0; k < length; ++k) inside += Difference(at(line, k), at(line + 1, k));
  for (int k = 0; k < length; ++k) seam += Difference(at(lines - 1, k), at(0, k));
  inside /= static_cast<double>(lines - 1) * length;
  seam /= length;
  return seam / (inside + 0.5);
}

const TextureRecipe& RecipeFor(const std::string& file) {
  for (const TextureRecipe& s : kTextures)
    if (file == s.fileName) return s;
  ADD_FAILURE() << "no texture " << file;
  return kTextures[0];
}

TEST(GeneratorTextures, AreTheViewersSevenFilesInSixEncodings) {
  const char* files[] = {"tex/gray1.bmp", "tex/gray2.bmp", "tex/blue1.bmp", "tex/stars2.bmp",
                         "tex/gray3.bmp", "tex/sky1.bmp",  "tex/grass.bmp"};
  std::set<std::string> names;
  std::set<BmpEncoding> encodings;
  for (const TextureRecipe& s : kTextures) {
    names.insert(s.fileName);
    encodings.insert(s.encoding);
    EXPECT_TRUE(IsPowerOfTwo(s.width) && IsPowerOfTwo(s.height)) << s.fileName;
    EXPECT_GE(std::min(s.width, s.height), 128) << s.fileName;
    EXPECT_LE(std::max(s.width, s.height), 512) << s.fileName;
  }
  for (const char* f : files) EXPECT_EQ(names.count(f), 1u) << f;
  EXPECT_EQ(encodings.size(), 6u);
}

TEST(GeneratorTextures, ImageMagickReadsEveryFileAsPainted) {
  ScratchDir dir;
  ASSERT_TRUE(dir.MakeDir("tex"));
  for (const TextureRecipe& s : kTextures) {
    SCOPED_TRACE(s.fileName);
    Picture p(s.width, s.height);
    s.paint(p);
    std::string path = dir.File(s.fileName);
    ASSERT_TRUE(WriteBmpFile(path.c_str(), p, s.encoding));
    bool ok = false;
    EXPECT_EQ(generator_test::IdentifiedSize(path, ok),
              std::to_string(s.width) + " " + std::to_string(s.height));
    EXPECT_TRUE(ok);
    std::string decoded = generator_test::DecodedRgb(path, ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(decoded.size(), static_cast<size_t>(s.width) * s.height * 3);
    int mismatches = 0;
    for (int y = 0; y < s.height; ++y)
      for (int x = 0; x < s.width; ++x) {
        const char* d = decoded.data() + (static_cast<size_t>(y) * s.width + x) * 3;
        Rgb c = p.GetRgb(x, y);
        mismatches += !(static_cast<uint8_t>(d[0]) == c.r && static_cast<uint8_t>(d[1]) == c.g &&
                        static_cast<uint8_t>(d[2]) == c.b);
      }
    EXPECT_EQ(mismatches, 0);
  }
}

TEST(GeneratorTextures, RepeatedPicturesHaveNoSeams) {
  // The metals and the grounds repeat in both directions; the skies wrap once around.
  for (const char* file :
       {"tex/gray1.bmp", "tex/gray2.bmp", "tex/blue1.bmp", "tex/grass.bmp", "tex/gray3.bmp"}) {
    const TextureRecipe& s = RecipeFor(file);
    Picture p(s.width, s.height);
    s.paint(p);
    EXPECT_LT(SeamRatio(p, true), 1.3) << file << " left/right";
    EXPECT_LT(SeamRatio(p, false), 1.3) << file << " top/bottom";
  }
  for (const char* file : {"tex/sky1.bmp", "tex/stars2.bmp"}) {
    const TextureRecipe& s = RecipeFor(file);
    Picture p(s.width, s.height);
    s.paint(p);
    EXPECT_LT(SeamRatio(p, true), 1.3) << file << " left/right";
  }
}

TEST(GeneratorTextures, SkiesAreOneColourAtTheirPoles) {
  // The dome pinches the top and bottom rows into single points, where any detail would smear.
  for (const char* file : {"tex/sky1.bmp", "tex/stars2.bmp"}) {
    const TextureRecipe& s = RecipeFor(file);
    Picture p(s.width, s.height);
    s.paint(p);
    for (int y : {0, s.height - 1})
      for (int x = 1; x < s.width; ++x)
        ASSERT_EQ(Difference(p.GetRgb(x, y), p.GetRgb(0, y)), 0) << file << " row " << y;
  }
  // The day sky darkens towards the zenith, and the night sky is darker than the day sky.
  const TextureRecipe& sky = RecipeFor("tex/sky1.bmp");
  Picture day(sky.width, sky.height);
  sky.paint(day);
  Rgb zenith = day.GetRgb(0, 0);
  Rgb horizon = day.GetRgb(0, sky.height / 2 - 1);
  EXPECT_LT(zenith.r + zenith.g, horizon.r + horizon.g);
  EXPECT_GT(zenith.b, zenith.r);
}

TEST(GeneratorTextures, NoiseRepeatsOverItsPeriod) {
  for (double x : {0.0, 0.37, 3.5, 7.99}) {
    for (double y : {0.0, 1.25, 4.75}) {
      EXPECT_DOUBLE_EQ(ValueNoise(x, y, 8, 5, 7u), ValueNoise(x + 8.0, y, 8, 5, 7u));
      EXPECT_DOUBLE_EQ(ValueNoise(x, y, 8, 5, 7u), ValueNoise(x - 16.0, y + 5.0, 8, 5, 7u));
      double v = ValueNoise(x, y, 8, 5, 7u);
      EXPECT_GE(v, 0.0);
      EXPECT_LE(v, 1.0);
    }
  }
  for (double u : {0.0, 0.013, 0.5, 0.999}) {
    EXPECT_NEAR(Fbm(u, 0.3, 4, 4, 5, 0.5, 9u), Fbm(u + 1.0, 0.3, 4, 4, 5, 0.5, 9u), 1e-12);
    EXPECT_NEAR(Fbm(0.3, u, 4, 4, 5, 0.5, 9u), Fbm(0.3, u + 1.0, 4, 4, 5, 0.5, 9u), 1e-12);
  }
  // Different seeds give different noise; the same seed the same.
  EXPECT_NE(ValueNoise(0.5, 0.5, 8, 8, 1u), ValueNoise(0.5, 0.5, 8, 8, 2u));
  Prng a(42u), b(42u);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(a.Next(), b.Next());
  Prng c(0u);
  EXPECT_NE(c.Next(), 0u) << "a zero seed must not freeze the generator";
}

}  // namespace
