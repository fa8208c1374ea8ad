// An OpenGL context without a window: EGL on Mesa's surfaceless platform, a pbuffer of the requested
// size as the draw and read surface, and a desktop (compatibility profile) GL context, so the
// fixed-function drawing code runs unchanged in tests, benchmarks and headless rendering.
// It does not present anything; pixels are read back from the pbuffer.
#pragma once

#include <cstddef>
#include <cstdint>

class OffscreenContext {
 public:
  OffscreenContext() = default;
  ~OffscreenContext();
  OffscreenContext(const OffscreenContext&) = delete;
  OffscreenContext& operator=(const OffscreenContext&) = delete;

  // Creates the display, the pbuffer and the context, and makes the context current on this
  // thread. On failure everything obtained so far is released, the reason is kept for
  // ErrorText(), and false is returned.
  bool Create(int width, int height);
  // Releases the context, the surface and the display (a no-op when nothing was created).
  void Destroy();

  // Makes this context current again (after another one was made current on this thread).
  bool MakeCurrent();
  // Leaves this thread without any current context.
  void ReleaseCurrent();

  bool IsCreated() const { return context != nullptr; }
  int Width() const { return width; }
  int Height() const { return height; }
  const char* ErrorText() const { return errorText; }

  // Reads the whole surface as packed RGB bytes, bottom row first (OpenGL's order), into out,
  // which must hold at least Width() * Height() * 3 bytes. Returns false when not created or
  // when outSize is too small.
  bool ReadPixelsRgb(unsigned char* out, size_t outSize) const;

 private:
  void Fail(const char* what);

  void* display = nullptr;  // EGLDisplay
  void* surface = nullptr;  // EGLSurface
  void* context = nullptr;  // EGLContext
  int width = 0;
  int height = 0;
  char errorText[160] = "";
};
