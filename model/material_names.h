// The material names of the scene format; a triangle's MaterialIndex is its position here, or -1.
#pragma once
#include <cstddef>

#include "model/mesh_object.h"

constexpr int MaterialNameCount = 4;
extern const char* const MaterialNames[MaterialNameCount];

// Exact, case-sensitive match of the whole name (given as characters and a length, not
// terminated); -1 for any other name.
MaterialIndex MaterialIndexOfName(const char* name, size_t length);
