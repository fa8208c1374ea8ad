// The texture-coordinate rule of a triangle: corner A at the triangle's random offset (u, v), AB
// along s and BC along t, each scaled so that the mesh's longest AB (BC) edge spans one texture
// width (height).
#pragma once

// The share of the longest edge that an edge spans. A mesh whose longest edge is 0 (all its edges
// of that kind are 0) gets 0, not 0/0.
double EdgeShare(double edgeLength, double maxEdgeLength);

// Corner coordinates from the offset and the two shares: A = (u, v), B = (u + a, v), C = (u + a, v + b).
void CornerTexCoords(double u, double v, double shareAb, double shareBc, double a[2], double b[2], double c[2]);
