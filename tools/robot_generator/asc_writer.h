// Writes meshes as an ASCII scene file, laid out line by line the way the viewer's strict reader
// expects it (name line, header in the first column, vertex list, one "Face list:" line, then a
// face line, a material line and a smoothing line per face, a blank line after each object).
// It writes what it is given; checking that the meshes are closed is the tests' business.
#pragma once
#include <cstdio>

#include "tools/robot_generator/mesh_builder.h"

namespace robogen {

// Coordinates are written with six decimals; a value that rounds to zero is written without a
// minus sign, so that the file does not depend on the sign of a rounding residue.
void FormatCoordinate(double value, char* out, int outSize);

bool WriteAscStream(std::FILE* out, const Mesh* meshes, int count);
bool WriteAscFile(const char* path, const Mesh* meshes, int count);

}  // namespace robogen
