// The seven texture pictures the viewer loads from tex/, their sizes and the BMP encoding each is
// written in. Every picture is painted from fixed-seed noise; the robot's three metals tile in both
// directions (each triangle shows a random patch, wrapping), the two grounds tile because the floor
// repeats every 2.5 units, and the two skies wrap around horizontally with a plain zenith row
// (the top row), because the sky sphere maps the picture's width once around and its height from
// bottom to top.
#pragma once
#include "tools/robot_generator/bmp_writer.h"
#include "tools/robot_generator/picture.h"

namespace robogen {

struct TextureRecipe {
  const char* fileName;  // relative to the output directory
  int width;
  int height;
  BmpEncoding encoding;
  void (*paint)(Picture& picture);
};

constexpr int kTextureCount = 7;
extern const TextureRecipe kTextures[kTextureCount];

void PaintGray1(Picture& picture);   // dark matte metal, 16 colours with ordered dithering
void PaintGray2(Picture& picture);   // brushed chrome
void PaintBlue1(Picture& picture);   // blue painted metal with worn chips
void PaintSky1(Picture& picture);    // day sky with clouds
void PaintStars2(Picture& picture);  // night sky: star field and a faint band of the galaxy
void PaintGrass(Picture& picture);   // grass
void PaintGray3(Picture& picture);   // grey steel deck plates

}  // namespace robogen
