// One-colour textures in the global texture set.
#include "support/test_textures.h"

#include "render/texture_set.h"
#include "support/gl_probe.h"
#include "support/gl_test_context.h"
#include "support/scratch_dir.h"

Rgb TestTextureColour(int32_t slot) {
  switch (slot) {
    case 0: return {200, 100, 50};
    case 1: return {40, 200, 120};
    case 2: return {30, 60, 220};
    case 6: return {0, 255, 0};
    case 7: return {128, 128, 128};
    case 8: return {255, 255, 255};
    case 9: return {60, 180, 40};
    default: return {0, 0, 0};
  }
}

bool UseGlobalTestTextures() {
  if (UseTestGlContext(TestSurfaceSize, TestSurfaceSize) == nullptr) return false;
  static bool loaded = false;
  if (loaded) return true;
  ScratchDir scratch;
  if (!scratch.MakeDir("tex")) return false;
  for (const TextureSlotFile& entry : TextureSlotFiles) {
    if (!WriteUniformBmp24(scratch.File(entry.fileName), 8, 8, TestTextureColour(entry.slot))) return false;
  }
  WorkingDirectoryScope inScratch(scratch.Path());
  textureSet.LoadTextureFiles();
  textureSet.CreateTextures();
  loaded = true;
  return true;
}
