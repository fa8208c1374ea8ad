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

// What each speed choice sets the cycle length to, in ms.
uint32_t SpeedPeriodOf(int value) {
  switch (value) {
    case SlowChoice: return 4000;
    case MediumChoice: return 2000;
    default: return 1000;  // FastChoice
  }
}

bool IsSpeedChoice(int value) { return value >= SlowChoice && value <= FastChoice; }

void ApplyRenderModeChoice(int value) {
  if (value == TexturesChoice) {
    viewState.textured = !viewState.textured;
    viewState.wireframe = 0;
  } else if (value == SolidChoice) {
    if (viewState.wireframe) {
      viewState.wireframe = 0;
    } else {
      viewState.textured = !viewState.textured;
    }
  } else if (value == WireframeChoice) {
    viewState.wireframe = !viewState.wireframe;
    viewState.textured = 0;
  }
}

void ApplySpeedChoice(int value) {
  for (const MenuItem& item : MenuItems) {
    if (!IsSpeedChoice(item.value)) continue;
    const bool chosen = item.value == value;
    if (chosen) SetSpeed(SpeedPeriodOf(value));
    toolkit.changeToMenuEntry(item.position, MenuLabel(item, chosen), item.value);
  }
}

void RelabelRenderModes() {
  const MenuValue active = viewState.textured ? TexturesChoice : viewState.wireframe ? WireframeChoice : SolidChoice;
  for (const MenuItem& item : MenuItems) {
    if (IsSpeedChoice(item.value)) continue;
    toolkit.changeToMenuEntry(item.position, MenuLabel(item, item.value == active), item.value);
  }
}

}  // namespace

void ApplyMenuChoice(int value) {
  ApplyRenderModeChoice(value);
  if (IsSpeedChoice(value)) ApplySpeedChoice(value);
  RelabelRenderModes();
  toolkit.postRedisplay();
}

void HandleKey(unsigned char key, int, int) {
  switch (key) {
    case '1': ApplyMenuChoice(SlowChoice); break;
    case '2': ApplyMenuChoice(MediumChoice); break;
    case '3': ApplyMenuChoice(FastChoice); break;
    case 'q': ApplyMenuChoice(TexturesChoice); break;
    case 'w': ApplyMenuChoice(SolidChoice); break;
    case 'e': ApplyMenuChoice(WireframeChoice); break;
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
