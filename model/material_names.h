// The material names of the scene format; a triangle's MaterialIndex is its position here, or -1.
#pragma once
#include <cstddef>

#include "model/mesh_object.h"

constexpr int MaterialNameCount = 4;
extern const char* const MaterialNames[MaterialNameCount];

// The material a material line names: the line's text from its 12th character, less its last
// character (the closing quote, unchecked), matched whole and case-sensitively with each name; -1 for
// any other name, and for a text too short to hold one. `text` begins with "Material" and ends with
// a NUL at `length` (one read from the file may come earlier, and ends it there); nothing beyond
// that is read.
MaterialIndex MaterialIndexOfLine(const char* text, size_t length);
