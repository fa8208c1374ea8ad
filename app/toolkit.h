// The few toolkit calls that the frame and the controls make. The program routes them to GLUT;
// offscreen tools and tests install their own, so the frame code runs unchanged without a window.
#pragma once

struct ToolkitCalls {
  void (*swapBuffers)();
  void (*postRedisplay)();
  void (*changeToMenuEntry)(int position, const char* label, int value);
};

// Starts as calls that do nothing.
extern ToolkitCalls toolkit;

// Routes the calls to GLUT (the window's current menu, its buffers and its redisplay queue).
void UseGlutToolkit();
