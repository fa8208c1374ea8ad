#include "support/gl_test.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "render/texture_set.h"
#include "support/scratch_dir.h"
#include "tools/offscreen/offscreen_context.h"

bool UseTestGlContext() {
  static OffscreenContext context;
  static bool tried = false;
  if (!tried) {
    tried = true;
    if (!context.Create(TestSurfaceSize, TestSurfaceSize)) std::fprintf(stderr, "offscreen GL context: %s\n", context.ErrorText());
  }
  return context.MakeCurrent();
}

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

std::vector<unsigned char> ReadSurface(int size) {
  std::vector<unsigned char> pixels(static_cast<size_t>(size) * size * 3);
  ReadRgb(0, 0, size, size, pixels.data());
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

bool UseGlobalTestTextures() {
  if (!UseTestGlContext()) return false;
  static bool loaded = false;
  if (loaded) return true;
  const Rgb colours[TextureSlotCount] = {{200, 100, 50}, {40, 200, 120}, {30, 60, 220}, {}, {}, {},
                                         {0, 255, 0},    {128, 128, 128}, {255, 255, 255}, {60, 180, 40}};
  ScratchDir scratch;
  if (!scratch.MakeDir("tex")) return false;
  for (const TextureSlotFile& entry : TextureSlotFiles)
    if (!WriteBmp24(scratch.File(entry.fileName), 8, 8, nullptr, colours[entry.slot])) return false;
  WorkingDirectoryScope inScratch(scratch.Path());
  textureSet.LoadTextureFiles();
  textureSet.CreateTextures();
  return loaded = true;
}

static bool failNextQuadric = false, failNextList = false;

void FailNextQuadricCreation() { failNextQuadric = true; }
void FailNextListCreation() { failNextList = true; }

extern "C" GLUquadric* gluNewQuadric() {
  static const auto real = reinterpret_cast<GLUquadric* (*)()>(dlsym(RTLD_NEXT, "gluNewQuadric"));
  return std::exchange(failNextQuadric, false) || real == nullptr ? nullptr : real();
}

extern "C" GLuint glGenLists(GLsizei range) {
  static const auto real = reinterpret_cast<GLuint (*)(GLsizei)>(dlsym(RTLD_NEXT, "glGenLists"));
  return std::exchange(failNextList, false) || real == nullptr ? 0 : real(range);
}
