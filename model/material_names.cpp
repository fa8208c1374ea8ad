#include "model/material_names.h"

#include <cstring>

const char* const MaterialNames[MaterialNameCount] = {"BLACK MATTE", "CHLNGER CHROME", "BLACK ROBO HOOD",
                                                      "DEFAULT"};

MaterialIndex MaterialIndexOfName(const char* name, size_t length) {
  for (int i = 0; i < MaterialNameCount; ++i) {
    // The names are distinct, so the first match is the only one.
    if (std::strlen(MaterialNames[i]) == length && std::memcmp(name, MaterialNames[i], length) == 0) return i;
  }
  return -1;
}
