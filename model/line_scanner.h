// Scanning of the scene format's line patterns with the rules of a C scanf, restricted to what the
// patterns use: a blank matches any run of white space (also none), %d an optionally signed decimal
// integer, %lf an optionally signed decimal number with optional fraction and exponent, both after
// skipping white space; any other pattern character must match exactly; scanning stops at the first
// mismatch and the count of numbers read is the result. Numbers are converted exactly (the same
// doubles as strtod), without locale lookups or allocation.
#pragma once
#include <cstdint>

// "Tri-mesh, Vertices: %d  Faces: %d"
int ScanHeaderLine(const char* text, int32_t* vertexCount, int32_t* faceCount);
// "Vertex %d:  X: %lf Y: %lf Z: %lf"
int ScanVertexLine(const char* text, int32_t* number, double* x, double* y, double* z);
// "Face %d: A:%d B:%d C:%d"
int ScanFaceLine(const char* text, int32_t* number, int32_t* a, int32_t* b, int32_t* c);
