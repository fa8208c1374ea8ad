// What the long run does between frames: a fixed cycle of user actions (render modes, speeds,
// background sets, orbit drags) applied through the program's own menu, key and mouse callbacks, so
// that the menu logic, the speed re-timing and the display-list rebuilds are all exercised.
#pragma once

// Number of actions in one cycle; after a whole cycle every mode, speed and background has been
// visited at least once.
constexpr int SoakActionCount = 12;

// Applies action k (any k >= 0; the cycle repeats) and returns a short description of it.
const char* ApplySoakAction(int k);

// The render mode in force, as the controls left it: "textured", "solid" or "wireframe".
const char* CurrentRenderModeName();
