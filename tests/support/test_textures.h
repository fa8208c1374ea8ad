// The program's global texture set filled with small one-colour pictures, one distinct colour per
// slot, in the shared 64 x 64 test context. Loaded once per test run.
#pragma once

#include <cstdint>

#include "support/bmp_writer.h"

// The colour of each slot's picture (slots 3-5 have none).
Rgb TestTextureColour(int32_t slot);

// Makes the shared test context current and makes sure textureSet holds the pictures; false when
// no context can be had.
bool UseGlobalTestTextures();
