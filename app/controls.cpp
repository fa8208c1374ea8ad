#include "app/controls.h"

#include <GL/glut.h>

#include <cstdint>

#include "app/menu.h"
#include "platform/toolkit.h"
#include "platform/view_state.h"
#include "motion/rig.h"

namespace {

struct DragState {
  uint8_t dragging = 0;
  int32_t dragStartX = 0;
  int32_t dragStartY = 0;
  double dragStartAzimuth = 0.0;
  double dragStartElevation = 0.0;
};

DragState drag;

struct SpeedEntry {
  int position;
  int value;
  uint32_t period;
};

constexpr SpeedEntry kSpeedEntries[3] = {{4, 10, 4000}, {5, 11, 2000}, {6, 12, 1000}};

void ApplyRenderModeChoice(int value) {
  if (value == 0) {
    viewState.textured = !viewState.textured;
    viewState.wireframe = 0;
  } else if (value == 1) {
    if (viewState.wireframe) {
      viewState.wireframe = 0;
    } else {
      viewState.textured = !viewState.textured;
    }
  } else if (value == 2) {
    viewState.wireframe = !viewState.wireframe;
    viewState.textured = 0;
  }
}

void ApplySpeedChoice(int value) {
  for (const SpeedEntry& entry : kSpeedEntries) {
    const bool chosen = entry.value == value;
    if (chosen) SetSpeed(entry.period);
    toolkit.changeToMenuEntry(entry.position, MenuLabel(entry.position, chosen), entry.value);
  }
}

void RelabelRenderModes() {
  const int active = viewState.textured ? 1 : viewState.wireframe ? 3 : 2;
  for (int position = 1; position <= 3; ++position) {
    toolkit.changeToMenuEntry(position, MenuLabel(position, position == active), position - 1);
  }
}

}  // namespace

void ApplyMenuChoice(int value) {
  ApplyRenderModeChoice(value);
  if (value >= 10 && value <= 12) ApplySpeedChoice(value);
  RelabelRenderModes();
  toolkit.postRedisplay();
}

void HandleKey(unsigned char key, int, int) {
  switch (key) {
    case '1': ApplyMenuChoice(10); break;
    case '2': ApplyMenuChoice(11); break;
    case '3': ApplyMenuChoice(12); break;
    case 'q': ApplyMenuChoice(0); break;
    case 'w': ApplyMenuChoice(1); break;
    case 'e': ApplyMenuChoice(2); break;
    case 'm': viewState.manualMode = 1; break;
    case 'd':
      viewState.manualMode = 0;
      viewState.manualClock = 0;
      break;
    case 's': viewState.backgroundSet = !viewState.backgroundSet; break;
    default: break;
  }
  toolkit.postRedisplay();
}

void HandleMouseButton(int button, int state, int x, int y) {
  if (button == GLUT_LEFT_BUTTON && state == GLUT_DOWN) {
    drag.dragStartElevation = viewState.elevation;
    drag.dragStartAzimuth = viewState.azimuth;
    drag.dragStartX = x;
    drag.dragStartY = y;
    drag.dragging = 1;
  } else if (button == GLUT_LEFT_BUTTON && state == GLUT_UP) {
    drag.dragging = 0;
  }
  toolkit.postRedisplay();
}

double DraggedElevation(double startElevation, int64_t dy) {
  double elevation = startElevation + 0.5 * static_cast<double>(dy);
  if (!(elevation > -10.0)) elevation = -10.0;
  if (!(elevation < 80.0)) elevation = 80.0;
  return elevation;
}

void HandleMouseMotion(int x, int y) {
  // Differences in 64 bits: window coordinates far apart must not overflow 32-bit arithmetic.
  const int64_t dx = static_cast<int64_t>(x) - drag.dragStartX;
  const int64_t dy = static_cast<int64_t>(y) - drag.dragStartY;
  if (drag.dragging) {
    viewState.elevation = DraggedElevation(drag.dragStartElevation, dy);
    viewState.azimuth = drag.dragStartAzimuth + 0.5 * static_cast<double>(dx);
  }
  toolkit.postRedisplay();
}
