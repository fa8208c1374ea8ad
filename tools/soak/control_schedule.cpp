// The soak run's cycle of user actions, through ApplyMenuChoice, HandleKey and the mouse callbacks.
#include "tools/soak/control_schedule.h"

#include <GL/glut.h>

#include "app/controls.h"
#include "platform/view_state.h"

namespace {

// A left-button drag from (100, 100) by (dx, dy) pixels, as the toolkit reports it.
void Drag(int dx, int dy) {
  HandleMouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 100, 100);
  HandleMouseMotion(100 + dx / 2, 100 + dy / 2);
  HandleMouseMotion(100 + dx, 100 + dy);
  HandleMouseButton(GLUT_LEFT_BUTTON, GLUT_UP, 100 + dx, 100 + dy);
}

}  // namespace

const char* ApplySoakAction(int k) {
  switch (k % SoakActionCount) {
    case 0:
      HandleKey('w', 0, 0);
      return "key w (solid)";
    case 1:
      HandleKey('3', 0, 0);
      return "key 3 (fast)";
    case 2:
      ApplyMenuChoice(2);
      return "menu Wireframe";
    case 3:
      HandleKey('s', 0, 0);
      return "key s (background)";
    case 4:
      ApplyMenuChoice(10);
      return "menu Slow";
    case 5:
      HandleKey('q', 0, 0);
      return "key q (textured)";
    case 6:
      Drag(60, -20);
      return "drag (orbit)";
    case 7:
      HandleKey('2', 0, 0);
      return "key 2 (medium)";
    case 8:
      ApplyMenuChoice(1);
      return "menu Solid";
    case 9:
      HandleKey('e', 0, 0);
      return "key e (wireframe)";
    case 10:
      ApplyMenuChoice(0);
      return "menu Textures";
    default:
      Drag(-60, 20);
      return "drag (orbit back)";
  }
}

const char* CurrentRenderModeName() {
  if (viewState.wireframe) return "wireframe";
  return viewState.textured ? "textured" : "solid";
}
