// The program's ten texture slots: the decoded pictures, their sizes and the OpenGL texture objects
// made from them, and the binding of a slot with redundant binds skipped.
// Slots 0-2 belong to the materials 0-2, 6/8 are the sky and 7/9 the ground (background set 1/0);
// slots 3-5 have no file and stay empty.
#pragma once

#include <cstdint>

constexpr int TextureSlotCount = 10;

struct TextureSlotFile {
  int32_t slot;
  const char* fileName;
};

// The image files, in the order they are read.
constexpr int TextureFileCount = 7;
extern const TextureSlotFile TextureSlotFiles[TextureFileCount];

// The slot last bound through BindSlot, -1 before the first bind. Binds replayed from a display
// list do not change it.
extern int32_t lastBoundSlot;

class TextureSet {
 public:
  TextureSet();
  // Deletes the texture objects only while a GL context is current (at process exit the window's
  // context may already be gone); the pixel buffers are released in any case.
  ~TextureSet();
  TextureSet(const TextureSet&) = delete;
  TextureSet& operator=(const TextureSet&) = delete;

  // Reads every file of the slot table into its slot. A missing file leaves its slot empty, silently.
  void LoadTextureFiles();
  // Generates the ten texture names and turns every loaded slot into a linear-filtered texture,
  // then enables texturing. Needs the current GL context.
  void CreateTextures();
  // Binds the slot's texture unless it is the slot bound last through this function.
  void BindSlot(int32_t slot);

  unsigned char* pixels[TextureSlotCount];
  int32_t widths[TextureSlotCount];
  int32_t heights[TextureSlotCount];
  uint32_t textureNames[TextureSlotCount];
};

// Reads one image into the out values; on failure *pixels becomes null and the size is left alone.
// The pixel buffer passes to the caller (release it with free).
void LoadSlotImage(const char* fileName, unsigned char** pixels, int32_t* width, int32_t* height);

struct RgbImage;
// Null for a null name or a file that cannot be opened (no message); otherwise what the BMP loader
// gives, which reports its own failures.
RgbImage* ReadImageFile(const char* fileName);

extern TextureSet textureSet;
