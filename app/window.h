// The one window: its creation with the OpenGL state, the callbacks and the menu, and the
// reshape and idle callbacks.
#pragma once

void InitWindow(int argc, char** argv);
void InitGlState();
void ReshapeWindow(int width, int height);
void IdleRedisplay();

// Reshape's aspect ratio: a height of 0 counts as 1, so nothing divides by zero.
double AspectRatio(int width, int height);
