#include "model/material_names.h"

#include <cstring>

const char* const MaterialNames[MaterialNameCount] = {"BLACK MATTE", "CHLNGER CHROME", "BLACK ROBO HOOD",
                                                      "DEFAULT"};

MaterialIndex MaterialIndexOfName(const char* name) {
  for (int i = 0; i < MaterialNameCount; ++i) {
    if (std::strcmp(name, MaterialNames[i]) == 0) return i;  // the names are distinct
  }
  return -1;
}
