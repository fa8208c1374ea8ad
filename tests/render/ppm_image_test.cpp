// The frame image name rule and the P6 byte layout, without OpenGL.
#include "render/ppm_image.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(FrameImageFile, NameHeaderAndFlippedRaster) {
  char name[FrameImageNameSize];
  const std::pair<int32_t, const char*> names[] = {{0, "images/image000.ppm"},   {7, "images/image007.ppm"},
                                                   {42, "images/image042.ppm"},  {999, "images/image999.ppm"},
                                                   {1000, "images/image1000.ppm"}, {2147483647, "images/image2147483647.ppm"}};
  for (const auto& [number, expected] : names) {
    FrameImageName(number, name);
    EXPECT_STREQ(name, expected);
  }
  char header[PpmHeaderSize];
  EXPECT_EQ(std::string(header, FormatPpmHeader(500, 500, header)),
            "P6\n# CREATOR: glDumpWindowPPM() by Wexmoor\n500 500\n255\n");
  // 3 x 2 read-back, bottom row first, alpha 0xEE: rows swap, alpha goes, a 10 stays a single 10.
  const std::vector<unsigned char> rgba = {1,  2,  3,  0xEE, 4,  5,  6,  0xEE, 7,  8,  9,  0xEE,
                                           10, 11, 12, 0xEE, 13, 14, 15, 0xEE, 16, 17, 18, 0xEE};
  std::vector<unsigned char> rgb(18, 0xFF);
  FlipRgbaToRgb(rgba.data(), 3, 2, rgb.data());
  EXPECT_EQ(rgb, (std::vector<unsigned char>{10, 11, 12, 13, 14, 15, 16, 17, 18, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

}  // namespace
