// The few toolkit calls that the frame and the controls make: swap, redisplay and menu relabelling.
// The seam sits below every subsystem that calls it, so the frame code runs unchanged without a
// window: the viewer routes the calls to GLUT (app/glut_toolkit.h); offscreen tools and tests
// install their own. It holds no toolkit code itself.
#pragma once

struct ToolkitCalls {
  void (*swapBuffers)();
  void (*postRedisplay)();
  void (*changeToMenuEntry)(int position, const char* label, int value);
};

// Starts as calls that do nothing.
extern ToolkitCalls toolkit;
