#include "app/window.h"

#include <GL/glu.h>
#include <GL/glut.h>

#include "app/controls.h"
#include "app/glut_toolkit.h"
#include "app/menu.h"
#include "platform/toolkit.h"
#include "platform/view_state.h"
#include "render/frame.h"

void InitWindow(int argc, char** argv) {
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(viewState.windowWidth, viewState.windowHeight);
  glutInit(&argc, argv);
  glutCreateWindow("Ambulon");
  UseGlutToolkit();
  InitGlState();

  glutDisplayFunc(DisplayFrame);
  glutReshapeFunc(ReshapeWindow);
  glutMouseFunc(HandleMouseButton);
  glutPassiveMotionFunc(HandleMouseMotion);
  glutMotionFunc(HandleMouseMotion);
  glutKeyboardFunc(HandleKey);
  glutIdleFunc(IdleRedisplay);
  glutCreateMenu(ApplyMenuChoice);
  for (const MenuEntry& entry : InitialMenuEntries()) glutAddMenuEntry(entry.label, entry.value);
  glutAttachMenu(GLUT_RIGHT_BUTTON);
}

void InitGlState() {
  const GLfloat ambient[4] = {0.3f, 0.3f, 0.3f, 1.0f};
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glEnable(GL_NORMALIZE);
  glShadeModel(GL_SMOOTH);
  glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

double AspectRatio(int width, int height) {
  return height == 0 ? static_cast<double>(width) : static_cast<double>(width) / static_cast<double>(height);
}

void ReshapeWindow(int width, int height) {
  viewState.windowWidth = width;
  viewState.windowHeight = height;
  const double aspect = AspectRatio(width, height);
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(60.0, aspect, 0.01, 500.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDrawBuffer(GL_BACK);
}

void IdleRedisplay() { toolkit.postRedisplay(); }
