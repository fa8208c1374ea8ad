// OffscreenContext: EGL surfaceless display, pbuffer surface, desktop GL context.
#include "tools/offscreen/offscreen_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <cstdio>

namespace {

// EGL hands out one display per platform and native display, shared by everyone in the process,
// and eglTerminate would pull it from under every other context; so it is terminated only when
// the last of our contexts goes.
int liveContexts = 0;

EGLDisplay OpenSurfacelessDisplay() {
  auto getPlatformDisplay =
      reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (getPlatformDisplay == nullptr) return EGL_NO_DISPLAY;
  return getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

}  // namespace

OffscreenContext::~OffscreenContext() { Destroy(); }

void OffscreenContext::Fail(const char* what) {
  std::snprintf(errorText, sizeof errorText, "%s failed (EGL error 0x%04X)", what,
                static_cast<unsigned>(eglGetError()));
  Destroy();
}

bool OffscreenContext::Create(int requestedWidth, int requestedHeight) {
  Destroy();
  errorText[0] = '\0';
  if (requestedWidth <= 0 || requestedHeight <= 0) {
    std::snprintf(errorText, sizeof errorText, "invalid size %d x %d", requestedWidth, requestedHeight);
    return false;
  }
  EGLDisplay dpy = OpenSurfacelessDisplay();
  if (dpy == EGL_NO_DISPLAY) {
    Fail("eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA)");
    return false;
  }
  EGLint major = 0;
  EGLint minor = 0;
  if (!eglInitialize(dpy, &major, &minor)) {
    Fail("eglInitialize");
    return false;
  }
  display = dpy;
  ++liveContexts;
  if (!eglBindAPI(EGL_OPENGL_API)) {
    Fail("eglBindAPI(EGL_OPENGL_API)");
    return false;
  }
  const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                     EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8,
                                     EGL_DEPTH_SIZE, 24, EGL_NONE};
  EGLConfig config = nullptr;
  EGLint configCount = 0;
  if (!eglChooseConfig(dpy, configAttributes, &config, 1, &configCount) || configCount < 1) {
    Fail("eglChooseConfig(pbuffer, RGB8, depth 24, desktop GL)");
    return false;
  }
  const EGLint surfaceAttributes[] = {EGL_WIDTH, requestedWidth, EGL_HEIGHT, requestedHeight, EGL_NONE};
  surface = eglCreatePbufferSurface(dpy, config, surfaceAttributes);
  if (surface == EGL_NO_SURFACE) {
    surface = nullptr;
    Fail("eglCreatePbufferSurface");
    return false;
  }
  // Fixed-function drawing needs the compatibility profile; it is what EGL 1.5 gives when asked
  // for nothing in particular, but say so where the attribute exists.
  const EGLint compatibilityAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                            EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
  const bool canAskProfile = major > 1 || (major == 1 && minor >= 5);
  context = eglCreateContext(dpy, config, EGL_NO_CONTEXT, canAskProfile ? compatibilityAttributes : nullptr);
  if (context == EGL_NO_CONTEXT) {
    context = nullptr;
    Fail("eglCreateContext(desktop GL, compatibility)");
    return false;
  }
  width = requestedWidth;
  height = requestedHeight;
  if (!MakeCurrent()) {
    Fail("eglMakeCurrent");
    return false;
  }
  return true;
}

void OffscreenContext::Destroy() {
  if (display == nullptr) return;
  EGLDisplay dpy = display;
  if (eglGetCurrentContext() == context && context != nullptr) {
    eglMakeCurrent(dpy, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  }
  if (context != nullptr) eglDestroyContext(dpy, context);
  if (surface != nullptr) eglDestroySurface(dpy, surface);
  context = nullptr;
  surface = nullptr;
  display = nullptr;
  width = height = 0;
  if (--liveContexts == 0) eglTerminate(dpy);
}

bool OffscreenContext::MakeCurrent() {
  if (context == nullptr) return false;
  return eglMakeCurrent(display, surface, surface, context) == EGL_TRUE;
}

void OffscreenContext::ReleaseCurrent() {
  if (display != nullptr) eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

bool OffscreenContext::ReadPixelsRgb(unsigned char* out, size_t outSize) const {
  if (context == nullptr || out == nullptr) return false;
  const size_t needed = static_cast<size_t>(width) * static_cast<size_t>(height) * 3;
  if (outSize < needed) return false;
  GLint oldAlignment = 4;
  glGetIntegerv(GL_PACK_ALIGNMENT, &oldAlignment);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glFinish();
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, out);
  glPixelStorei(GL_PACK_ALIGNMENT, oldAlignment);
  return true;
}
