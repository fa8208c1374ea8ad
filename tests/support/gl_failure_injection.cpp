// gluNewQuadric and glGenLists in front of GLU's and GL's, for the test program only.
#include "support/gl_failure_injection.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <dlfcn.h>

#include <utility>

namespace {
bool failNextQuadric = false;
bool failNextList = false;
}  // namespace

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
