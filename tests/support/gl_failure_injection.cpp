// gluNewQuadric and glGenLists in front of GLU's and GL's, for the test program only.
#include "support/gl_failure_injection.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <dlfcn.h>

namespace {

bool failNextQuadric = false;
bool failNextList = false;

template <typename F>
F Real(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

}  // namespace

void FailNextQuadricCreation() { failNextQuadric = true; }

void FailNextListCreation() { failNextList = true; }

extern "C" GLUquadric* gluNewQuadric() {
  if (failNextQuadric) {
    failNextQuadric = false;
    return nullptr;
  }
  using Create = GLUquadric* (*)();
  static const Create real = Real<Create>("gluNewQuadric");
  return real != nullptr ? real() : nullptr;
}

extern "C" GLuint glGenLists(GLsizei range) {
  if (failNextList) {
    failNextList = false;
    return 0;
  }
  using Generate = GLuint (*)(GLsizei);
  static const Generate real = Real<Generate>("glGenLists");
  return real != nullptr ? real(range) : 0;
}
