#include "model/material_names.h"

#include <cstring>

const char* const MaterialNames[MaterialNameCount] = {"BLACK MATTE", "CHLNGER CHROME", "BLACK ROBO HOOD",
                                                      "DEFAULT"};

MaterialIndex MaterialIndexOfName(const char* name) {
  MaterialIndex index = -1;
  for (int i = 0; i < MaterialNameCount; ++i) {
    if (std::strcmp(name, MaterialNames[i]) == 0) index = i;
  }
  return index;
}
