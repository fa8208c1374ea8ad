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
// The surface's lower-left `size` x `size` pixels, RGB, bottom row first.
std::vector<unsigned char> ReadSurface(int size = TestSurfaceSize);
bool Near(Rgb actual, Rgb expected, int tolerance);

// Makes the shared context current and makes sure textureSet holds one-colour pictures (loaded once).
bool UseGlobalTestTextures();

// The test program puts its own gluNewQuadric and glGenLists in front of the libraries' ones: each
// passes every call through, except that it can be told to refuse its next request the way the
// library reports a failure (a null quadric, a list name of 0).
void FailNextQuadricCreation();
void FailNextListCreation();
