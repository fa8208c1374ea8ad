// One-colour textures in the global texture set.
#include "support/test_textures.h"

#include "render/texture_set.h"
#include "support/gl_test_context.h"
#include "support/scratch_dir.h"

Rgb TestTextureColour(int32_t slot) {
  const Rgb colours[TextureSlotCount] = {{200, 100, 50}, {40, 200, 120}, {30, 60, 220}, {}, {}, {},
                                         {0, 255, 0},    {128, 128, 128}, {255, 255, 255}, {60, 180, 40}};
  return slot >= 0 && slot < TextureSlotCount ? colours[slot] : Rgb{};
}

bool UseGlobalTestTextures() {
  if (!UseTestGlContext()) return false;
  static bool loaded = false;
  if (loaded) return true;
  ScratchDir scratch;
  if (!scratch.MakeDir("tex")) return false;
  for (const TextureSlotFile& entry : TextureSlotFiles)
    if (!WriteBmp24(scratch.File(entry.fileName), 8, 8, nullptr, TestTextureColour(entry.slot))) return false;
  WorkingDirectoryScope inScratch(scratch.Path());
  textureSet.LoadTextureFiles();
  textureSet.CreateTextures();
  return loaded = true;
}
