// The frame image name rule and the P6 byte layout, without OpenGL.
#include "render/ppm_image.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string NameOf(int32_t number) {
  char name[FrameImageNameSize];
  FrameImageName(number, name);
  return name;
}

TEST(FrameImageName, PadsToThreeDigitsAndGrowsBeyond) {
  EXPECT_EQ(NameOf(0), "images/image000.ppm");
  EXPECT_EQ(NameOf(7), "images/image007.ppm");
  EXPECT_EQ(NameOf(42), "images/image042.ppm");
  EXPECT_EQ(NameOf(999), "images/image999.ppm");
  EXPECT_EQ(NameOf(1000), "images/image1000.ppm");
  EXPECT_EQ(NameOf(2147483647), "images/image2147483647.ppm");
}

TEST(PpmHeader, IsTheP6HeaderWithSizeAndMaximum) {
  char header[PpmHeaderSize];
  const size_t length = FormatPpmHeader(500, 500, header);
  EXPECT_EQ(std::string(header, length), "P6\n# CREATOR: glDumpWindowPPM() by Wexmoor\n500 500\n255\n");
  EXPECT_EQ(std::string(header, FormatPpmHeader(0, 0, header)), "P6\n# CREATOR: glDumpWindowPPM() by Wexmoor\n0 0\n255\n");
}

TEST(PpmRaster, FlipsRowsDropsAlphaAndKeepsEveryByte) {
  // 3 x 2 read-back, bottom row first: every byte distinct, alpha 0xEE, one sample of value 10.
  const std::vector<unsigned char> rgba = {
      1,  2,  3,  0xEE, 4,  5,  6,  0xEE, 7,  8,  9,  0xEE,   // bottom row
      10, 11, 12, 0xEE, 13, 14, 15, 0xEE, 16, 17, 18, 0xEE};  // top row
  std::vector<unsigned char> rgb(3 * 2 * 3, 0xFF);
  FlipRgbaToRgb(rgba.data(), 3, 2, rgb.data());
  const std::vector<unsigned char> expected = {10, 11, 12, 13, 14, 15, 16, 17, 18, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  EXPECT_EQ(rgb, expected);
}

TEST(PpmRaster, EmptyImageTouchesNothing) {
  unsigned char guard = 0x5A;
  FlipRgbaToRgb(nullptr, 0, 5, &guard);
  FlipRgbaToRgb(nullptr, 5, 0, &guard);
  EXPECT_EQ(guard, 0x5A);
}

}  // namespace
