// The tests' real OpenGL: one offscreen 64 x 64 context, created on first use and kept for the
// whole run (GL objects of the global tables live in it); pixels read back from it; the program's
// texture set filled with one-colour pictures; and the two GL-side creations the drawing code
// checks made to fail on request.
#pragma once

#include <cstdint>
#include <vector>

#include "support/bmp_writer.h"

constexpr int TestSurfaceSize = 64;

// Makes the shared context current; false (with the reason on stderr) when none can be created.
bool UseTestGlContext();

// Lighting on, light 0 off, ambient light (1, 1, 1): a pixel is exactly its material colour
// (times the texture where one is on). Identity matrices, full viewport, no depth test.
void UseFlatColourLighting();
// The pixel at window (x, y), y counted from the bottom.
Rgb PixelAt(int x, int y);
// The whole surface, RGB, bottom row first.
std::vector<unsigned char> ReadSurface();
bool Near(Rgb actual, Rgb expected, int tolerance);

// The colour of each slot's picture (slots 3-5 have none).
Rgb TestTextureColour(int32_t slot);
// Makes the shared context current and makes sure textureSet holds the pictures (loaded once).
bool UseGlobalTestTextures();

// The test program puts its own gluNewQuadric and glGenLists in front of the libraries' ones: each
// passes every call through, except that it can be told to refuse its next request the way the
// library reports a failure (a null quadric, a list name of 0).
void FailNextQuadricCreation();
void FailNextListCreation();
