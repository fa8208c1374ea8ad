#include "app/toolkit.h"

#include <GL/glut.h>

namespace {

void NoSwap() {}
void NoRedisplay() {}
void NoMenuChange(int, const char*, int) {}

void GlutChangeToMenuEntry(int position, const char* label, int value) {
  glutChangeToMenuEntry(position, label, value);
}

}  // namespace

ToolkitCalls toolkit = {NoSwap, NoRedisplay, NoMenuChange};

void UseGlutToolkit() { toolkit = {glutSwapBuffers, glutPostRedisplay, GlutChangeToMenuEntry}; }
