// The frame image file: its numbered name and its binary PPM (P6) layout, free of OpenGL and files.
#pragma once

#include <cstddef>
#include <cstdint>

// Large enough for "images/image" + any 32-bit number + ".ppm".
constexpr size_t FrameImageNameSize = 32;

// "images/image%3d.ppm" with every blank turned into '0': image000 .. image999, image1000, ...
void FrameImageName(int32_t number, char name[FrameImageNameSize]);

// Room for the header of any 32-bit width and height.
constexpr size_t PpmHeaderSize = 96;

// Writes "P6\n# CREATOR: glDumpWindowPPM() by Wexmoor\n<w> <h>\n255\n" and returns its length.
size_t FormatPpmHeader(int32_t width, int32_t height, char header[PpmHeaderSize]);

// Turns read-back RGBA rows (bottom row first) into RGB rows from the top of the window down,
// dropping alpha: output row r is input row height-1-r.
void FlipRgbaToRgb(const unsigned char* rgba, int32_t width, int32_t height, unsigned char* rgb);
