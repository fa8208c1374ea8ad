// Pixel read-back and flat-colour lighting for tests.
#include "support/gl_probe.h"

#include <GL/gl.h>

#include <cstdlib>

void UseFlatColourLighting() {
  glViewport(0, 0, TestSurfaceSize, TestSurfaceSize);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glEnable(GL_LIGHTING);
  glDisable(GL_LIGHT0);
  const GLfloat fullAmbient[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, fullAmbient);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

static void ReadRgb(int x, int y, int width, int height, unsigned char* out) {
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glFinish();
  glReadPixels(x, y, width, height, GL_RGB, GL_UNSIGNED_BYTE, out);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
}

std::vector<unsigned char> ReadSurface() {
  std::vector<unsigned char> pixels(TestSurfaceSize * TestSurfaceSize * 3);
  ReadRgb(0, 0, TestSurfaceSize, TestSurfaceSize, pixels.data());
  return pixels;
}

Rgb PixelAt(int x, int y) {
  unsigned char rgb[3] = {0, 0, 0};
  ReadRgb(x, y, 1, 1, rgb);
  return {rgb[0], rgb[1], rgb[2]};
}

bool Near(Rgb actual, Rgb expected, int tolerance) {
  return std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
         std::abs(actual.b - expected.b) <= tolerance;
}
