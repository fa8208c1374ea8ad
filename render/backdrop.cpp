// Ground plane and sky dome.
#include "render/backdrop.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "platform/view_state.h"
#include "render/materials.h"
#include "render/texture_set.h"

GLUquadric* skyQuadric = nullptr;

int GroundSlot() { return viewState.backgroundSet ? 7 : 9; }

int SkySlot() { return viewState.backgroundSet ? 6 : 8; }

void DrawGround() {
  glEnable(GL_TEXTURE_2D);
  textureSet.BindSlot(GroundSlot());
  SetWhiteMaterial();
  glBegin(GL_QUADS);
  glNormal3f(0.0f, 0.0f, 1.0f);
  glTexCoord2d(0.0, 0.0);
  glVertex3f(-100.0f, -100.0f, -0.45f);
  glTexCoord2d(80.0, 0.0);
  glVertex3f(100.0f, -100.0f, -0.45f);
  glTexCoord2d(80.0, 80.0);
  glVertex3f(100.0f, 100.0f, -0.45f);
  glTexCoord2d(0.0, 80.0);
  glVertex3f(-100.0f, 100.0f, -0.45f);
  glEnd();
}

void DrawSky() {
  glPushAttrib(GL_LIGHTING_BIT);
  glEnable(GL_TEXTURE_2D);
  textureSet.BindSlot(SkySlot());
  SetSkyMaterial();
  if (skyQuadric == nullptr) {
    skyQuadric = gluNewQuadric();
    if (skyQuadric != nullptr) {
      gluQuadricOrientation(skyQuadric, GLU_INSIDE);
      gluQuadricDrawStyle(skyQuadric, GLU_FILL);
      gluQuadricTexture(skyQuadric, GL_TRUE);
    }
  }
  if (skyQuadric != nullptr) gluSphere(skyQuadric, 40.0, 40, 10);
  glPopAttrib();
}
