#include "app/glut_toolkit.h"

#include <GL/glut.h>

#include "platform/toolkit.h"

namespace {

void GlutChangeToMenuEntry(int position, const char* label, int value) {
  glutChangeToMenuEntry(position, label, value);
}

}  // namespace

void UseGlutToolkit() { toolkit = {glutSwapBuffers, glutPostRedisplay, GlutChangeToMenuEntry}; }
