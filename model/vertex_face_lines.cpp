#include "model/vertex_face_lines.h"

#include <cstdio>

#include "model/line_scanner.h"

void ParseVertexLine(const char* text, double* x, double* y, double* z) {
  int32_t number = 0;
  double vx = 0.0, vy = 0.0, vz = 0.0;
  if (ScanVertexLine(text, &number, &vx, &vy, &vz) < 4) {
    std::printf("Error reading a point from '%s!'\n", text);
    vx = vy = vz = 0.0;
  }
  *x = vx;
  *y = vy;
  *z = vz;
}

bool ParseFaceLine(const char* text, int32_t* a, int32_t* b, int32_t* c) {
  int32_t number = 0;
  if (ScanFaceLine(text, &number, a, b, c) < 4) {
    std::printf("Error reading a face from '%s!'\n", text);
    return false;
  }
  return true;
}
