// TextureSet: loading the slot images, creating and binding the texture objects, and releasing them.
#include "render/texture_set.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>

#include "image/dib_loader.h"
#include "platform/gl_context.h"

const TextureSlotFile TextureSlotFiles[TextureFileCount] = {
    {0, "tex/gray1.bmp"},  {1, "tex/gray2.bmp"}, {2, "tex/blue1.bmp"}, {6, "tex/stars2.bmp"},
    {7, "tex/gray3.bmp"},  {8, "tex/sky1.bmp"},  {9, "tex/grass.bmp"},
};

int32_t lastBoundSlot = -1;

namespace {
constexpr uint32_t NoTextureName = 0xFFFFFFFFu;
}

TextureSet::TextureSet() {
  for (int slot = 0; slot < TextureSlotCount; ++slot) {
    pixels[slot] = nullptr;
    widths[slot] = 0;
    heights[slot] = 0;
    textureNames[slot] = NoTextureName;
  }
}

TextureSet::~TextureSet() {
  if (textureNames[0] != NoTextureName && RenderContextIsCurrent()) {
    glDeleteTextures(TextureSlotCount, textureNames);
  }
  for (int slot = 0; slot < TextureSlotCount; ++slot) {
    std::free(pixels[slot]);
    pixels[slot] = nullptr;
  }
}

void TextureSet::LoadTextureFiles() {
  for (const TextureSlotFile& entry : TextureSlotFiles) {
    const int slot = entry.slot;
    // A slot loaded before (a second call) would otherwise leak its buffer.
    std::free(pixels[slot]);
    pixels[slot] = nullptr;
    LoadSlotImage(entry.fileName, &pixels[slot], &widths[slot], &heights[slot]);
  }
}

void TextureSet::CreateTextures() {
  glGenTextures(TextureSlotCount, textureNames);
  for (int slot = 0; slot < TextureSlotCount; ++slot) {
    if (pixels[slot] == nullptr) continue;
    glBindTexture(GL_TEXTURE_2D, textureNames[slot]);
    // The decoded rows are packed (3 * width bytes). Under the default 4-byte unpack alignment GL
    // would read a width that is not a multiple of 4 with padded rows: a skewed picture and a read
    // past the end of the buffer. Such uploads alone use byte alignment; the default stays.
    const bool packedRowsNeedByteAlignment = (static_cast<int64_t>(widths[slot]) * 3) % 4 != 0;
    if (packedRowsNeedByteAlignment) glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, widths[slot], heights[slot], 0, GL_RGB, GL_UNSIGNED_BYTE, pixels[slot]);
    if (packedRowsNeedByteAlignment) glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  }
  glEnable(GL_TEXTURE_2D);
}

void TextureSet::BindSlot(int32_t slot) {
  if (slot == lastBoundSlot) return;
  // Callers pass compiled-in slot numbers; a stray one must not read outside the table.
  if (slot < 0 || slot >= TextureSlotCount) return;
  glBindTexture(GL_TEXTURE_2D, textureNames[slot]);
  lastBoundSlot = slot;
}

void LoadSlotImage(const char* fileName, unsigned char** pixels, int32_t* width, int32_t* height) {
  RgbImage* image = ReadImageFile(fileName);
  if (image == nullptr) {
    *pixels = nullptr;
    return;
  }
  *width = image->width;
  *height = image->height;
  *pixels = image->data;
  std::free(image);
}

RgbImage* ReadImageFile(const char* fileName) {
  if (fileName == nullptr) return nullptr;
  std::FILE* probe = std::fopen(fileName, "rb");
  if (probe == nullptr) return nullptr;
  std::fclose(probe);
  return LoadDibImage(fileName);
}
