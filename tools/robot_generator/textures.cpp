// The texture table: file names, sizes and encodings. Each file gets a different encoding so that
// every path of the viewer's BMP loader is exercised by the real scene.
#include "tools/robot_generator/textures.h"

namespace robogen {

const TextureRecipe kTextures[kTextureCount] = {
    {"tex/gray1.bmp", 256, 256, BmpEncoding::Palette4, PaintGray1},
    {"tex/gray2.bmp", 256, 256, BmpEncoding::Rgb32, PaintGray2},
    {"tex/blue1.bmp", 256, 256, BmpEncoding::CorePalette8, PaintBlue1},
    {"tex/sky1.bmp", 512, 256, BmpEncoding::Rgb24, PaintSky1},
    {"tex/stars2.bmp", 512, 256, BmpEncoding::Palette8Rle, PaintStars2},
    {"tex/grass.bmp", 256, 256, BmpEncoding::Rgb24, PaintGrass},
    {"tex/gray3.bmp", 256, 256, BmpEncoding::Palette8, PaintGray3},
};

}  // namespace robogen
