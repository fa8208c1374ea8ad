// A small BMP writer for the generated textures, in the encodings the viewer's loader reads:
// 24- and 32-bit true colour, 8- and 4-bit palette, 8-bit run-length, and the old 12-byte core
// header with an 8-bit palette. Rows are stored bottom-up and padded to four bytes. Bit-field
// and 16-bit files are not written.
#pragma once
#include <cstddef>
#include <cstdint>

#include "tools/robot_generator/picture.h"

namespace robogen {

enum class BmpEncoding { Rgb24, Rgb32, Palette8, Palette8Rle, Palette4, CorePalette8 };

// Room that EncodeBmp may need for the picture in that encoding (run-length data at its worst).
size_t BmpSizeBound(const Picture& picture, BmpEncoding encoding);

// Encodes into out[0..capacity) and returns the file's size, or 0 when the picture cannot be
// written that way (empty picture, no palette for a palette encoding, more than 16 colours for
// the 4-bit one) or the buffer is too small.
size_t EncodeBmp(const Picture& picture, BmpEncoding encoding, uint8_t* out, size_t capacity);

// Run-length encodes one row of 8-bit indices (runs and absolute blocks, no line end); returns
// the bytes written, or 0 when they would not fit.
size_t EncodeRle8Row(const uint8_t* row, int width, uint8_t* out, size_t capacity);

bool WriteBmpFile(const char* path, const Picture& picture, BmpEncoding encoding);

}  // namespace robogen
