// Shared offscreen contexts for the tests.
#include "support/gl_test_context.h"

#include <cstdio>

#include "tools/offscreen/offscreen_context.h"

namespace {

constexpr int MaxContexts = 4;

struct SizedContext {
  int width = 0;
  int height = 0;
  OffscreenContext* context = nullptr;
};

SizedContext contexts[MaxContexts];

}  // namespace

OffscreenContext* UseTestGlContext(int width, int height) {
  for (SizedContext& entry : contexts) {
    if (entry.context != nullptr && entry.width == width && entry.height == height) {
      return entry.context->MakeCurrent() ? entry.context : nullptr;
    }
  }
  for (SizedContext& entry : contexts) {
    if (entry.context != nullptr) continue;
    // Kept until the process ends: GL objects of the global tables live in them.
    auto* context = new OffscreenContext;
    if (!context->Create(width, height)) {
      std::fprintf(stderr, "offscreen GL context %d x %d: %s\n", width, height, context->ErrorText());
      delete context;
      return nullptr;
    }
    entry = {width, height, context};
    return context;
  }
  std::fprintf(stderr, "offscreen GL context %d x %d: all %d test contexts are in use\n", width, height, MaxContexts);
  return nullptr;
}
