#include "model/material_names.h"

#include <cstring>

const char* const MaterialNames[MaterialNameCount] = {"BLACK MATTE", "CHLNGER CHROME", "BLACK ROBO HOOD",
                                                      "DEFAULT"};

namespace {

// Every face of a scene has a material line: the lengths are not measured again for each.
constexpr size_t kNameLengths[MaterialNameCount] = {sizeof "BLACK MATTE" - 1, sizeof "CHLNGER CHROME" - 1,
                                                    sizeof "BLACK ROBO HOOD" - 1, sizeof "DEFAULT" - 1};

}  // namespace

MaterialIndex MaterialIndexOfName(const char* name, size_t length) {
  for (int i = 0; i < MaterialNameCount; ++i) {
    // The names are distinct, so the first match is the only one.
    if (kNameLengths[i] == length && std::memcmp(name, MaterialNames[i], length) == 0) return i;
  }
  return -1;
}
