// DisplayFrame: the fixed order of one pass.
#include "render/frame.h"

#include <GL/gl.h>

#include "platform/toolkit.h"
#include "platform/view_state.h"
#include "motion/part_table.h"
#include "platform/clock.h"
#include "render/backdrop.h"
#include "render/camera.h"
#include "render/frame_capture.h"
#include "render/ground_scroll.h"

uint32_t lastFrameTime = 0;
double groundScroll = 0.0;

namespace {

bool lastFrameTimeSet = false;

const GLfloat LightPosition[4] = {6.0f, -4.0f, 7.0f, 0.0f};  // directional, fixed in the world

}  // namespace

void DisplayFrame() {
  uint32_t now = timeGetTime();
  if (viewState.manualMode) {
    // The first manual pass starts the capture run and the manual clock from the system clock.
    if (viewState.manualClock == 0) {
      viewState.manualClock = now;
      BeginCaptureRun();
    }
    viewState.manualClock += ManualClockStep;
    // The frame buffer still holds the previous pass: it is saved before anything is cleared.
    SaveFrameImage();
    now = viewState.manualClock;
  }
  AdvanceFrameClock(now);
  BeginScene();
  partTable.parts[partTable.rootPart].DrawPart(now, viewState.wireframe != 0);
  EndScene();
  toolkit.swapBuffers();
}

void AdvanceFrameClock(uint32_t now) {
  if (!lastFrameTimeSet) {
    lastFrameTime = now;
    lastFrameTimeSet = true;
  }
  const uint32_t delta = now - lastFrameTime;
  lastFrameTime = now;
  groundScroll = AdvanceGroundScroll(groundScroll, delta, viewState.speedPeriod);
}

void BeginScene() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glPushMatrix();
  PlaceCamera();
  glLightfv(GL_LIGHT0, GL_POSITION, LightPosition);
  glPushMatrix();
  glTranslated(0.0, groundScroll, 0.0);
  DrawGround();
  glPopMatrix();
  DrawSky();
}

void EndScene() {
  glPopMatrix();
  glFlush();
}
