// The viewer's toolkit seam (platform/toolkit.h) routed to GLUT.
#pragma once

// Routes the calls to GLUT (the window's current menu, its buffers and its redisplay queue).
void UseGlutToolkit();
