// Frame image name rule, PPM header and raster conversion.
#include "render/ppm_image.h"

#include <cstdio>
#include <cstring>

void FrameImageName(int32_t number, char name[FrameImageNameSize]) {
  std::snprintf(name, FrameImageNameSize, "images/image%3d.ppm", static_cast<int>(number));
  for (char* c = name; *c != '\0'; ++c) {
    if (*c == ' ') *c = '0';
  }
}

size_t FormatPpmHeader(int32_t width, int32_t height, char header[PpmHeaderSize]) {
  const int length = std::snprintf(header, PpmHeaderSize, "P6\n# CREATOR: glDumpWindowPPM() by Wexmoor\n%d %d\n%d\n",
                                   static_cast<int>(width), static_cast<int>(height), 255);
  return length > 0 ? static_cast<size_t>(length) : 0;
}

void FlipRgbaToRgb(const unsigned char* rgba, int32_t width, int32_t height, unsigned char* rgb) {
  const size_t w = static_cast<size_t>(width);
  for (int32_t r = 0; r < height; ++r) {
    const unsigned char* in = rgba + static_cast<size_t>(height - 1 - r) * w * 4;
    unsigned char* out = rgb + static_cast<size_t>(r) * w * 3;
    for (size_t c = 0; c < w; ++c) {
      out[0] = in[0];
      out[1] = in[1];
      out[2] = in[2];
      in += 4;
      out += 3;
    }
  }
}
