// The shared offscreen context of the tests.
#include "support/gl_test_context.h"

#include <cstdio>

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
