// Parsing of single vertex and face lines of the ASCII scene format, with their console messages.
#pragma once
#include <cstdint>

// Fewer than 4 numbers read: prints "Error reading a point from '%s!'\n" and gives (0, 0, 0).
void ParseVertexLine(const char* text, double* x, double* y, double* z);
// Fewer than 4 numbers read: prints "Error reading a face from '%s!'\n" and returns false; the
// outputs are then not to be used.
bool ParseFaceLine(const char* text, int32_t* a, int32_t* b, int32_t* c);
