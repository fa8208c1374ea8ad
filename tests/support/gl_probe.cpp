// Pixel read-back, feedback capture and flat-colour lighting for tests.
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

std::vector<unsigned char> ReadSurface() {
  std::vector<unsigned char> pixels(TestSurfaceSize * TestSurfaceSize * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glFinish();
  glReadPixels(0, 0, TestSurfaceSize, TestSurfaceSize, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  return pixels;
}

Rgb PixelAt(int x, int y) {
  unsigned char rgb[3] = {0, 0, 0};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glFinish();
  glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  return {rgb[0], rgb[1], rgb[2]};
}

bool Near(Rgb actual, Rgb expected, int tolerance) {
  return std::abs(actual.r - expected.r) <= tolerance && std::abs(actual.g - expected.g) <= tolerance &&
         std::abs(actual.b - expected.b) <= tolerance;
}

FeedbackCapture CaptureFeedback(const std::function<void()>& draw) {
  std::vector<GLfloat> buffer(1 << 16);
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  const GLint used = glRenderMode(GL_RENDER);
  FeedbackCapture capture;
  auto vertex = [&](GLint at) { capture.vertices.push_back({buffer[at], buffer[at + 1], buffer[at + 2]}); };
  for (GLint i = 0; i >= 0 && i < used;) {
    const GLint token = static_cast<GLint>(buffer[i]);
    if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
      vertex(i + 1);
      vertex(i + 4);
      ++capture.lines;
      i += 7;
    } else if (token == GL_POLYGON_TOKEN) {
      const GLint n = static_cast<GLint>(buffer[i + 1]);
      for (GLint k = 0; k < n; ++k) vertex(i + 2 + 3 * k);
      ++capture.polygons;
      i += 2 + 3 * n;
    } else if (token == GL_POINT_TOKEN || token == GL_BITMAP_TOKEN || token == GL_DRAW_PIXEL_TOKEN ||
               token == GL_COPY_PIXEL_TOKEN) {
      vertex(i + 1);
      i += 4;
    } else {  // GL_PASS_THROUGH_TOKEN and anything unexpected
      i += 2;
    }
  }
  return capture;
}
