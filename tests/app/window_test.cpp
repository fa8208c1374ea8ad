// The reshape callback's arithmetic and its effect on a real (offscreen) context.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include "platform/view_state.h"
#include "app/window.h"
#include "tools/offscreen/offscreen_context.h"

namespace {

TEST(Reshape, AspectRatioTreatsAZeroHeightAsOne) {
  EXPECT_EQ(AspectRatio(500, 250), 2.0);
  EXPECT_EQ(AspectRatio(640, 0), 640.0);
  EXPECT_EQ(AspectRatio(0, 0), 0.0);
}

TEST(Reshape, StoresTheSizeAndSetsViewportAndProjection) {
  OffscreenContext context;
  ASSERT_TRUE(context.Create(64, 64));
  const ViewState saved = viewState;
  InitGlState();
  ReshapeWindow(300, 0);
  EXPECT_EQ(viewState.windowWidth, 300);
  EXPECT_EQ(viewState.windowHeight, 0);
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 300);
  EXPECT_EQ(viewport[3], 0);
  GLdouble projection[16] = {};
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  // gluPerspective: m[0] = f / aspect, m[5] = f with f = cot(30 degrees).
  EXPECT_NEAR(projection[5], 1.7320508075688772, 1e-6);  // GL keeps floats
  EXPECT_NEAR(projection[0], 1.7320508075688772 / 300.0, 1e-8);
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
  EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_TRUE);
  EXPECT_EQ(glIsEnabled(GL_LIGHTING), GL_TRUE);
  EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), GL_FALSE);
  GLfloat ambient[4] = {};
  glGetFloatv(GL_LIGHT_MODEL_AMBIENT, ambient);
  EXPECT_FLOAT_EQ(ambient[0], 0.3f);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  viewState = saved;
}

}  // namespace
