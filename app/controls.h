// What the user can do to the running view: the menu, the keys and the left-button drag. These
// callbacks never draw; they change the view state, the speed and the menu labels, then ask for a
// redisplay.
#pragma once
#include <cstdint>

void ApplyMenuChoice(int value);
void HandleKey(unsigned char key, int x, int y);
void HandleMouseButton(int button, int state, int x, int y);
void HandleMouseMotion(int x, int y);

// The elevation a drag gives: the angle at the press plus 0.5 degree per pixel, held within
// -10 to 80 degrees (both ends included).
double DraggedElevation(double startElevation, int64_t dy);
