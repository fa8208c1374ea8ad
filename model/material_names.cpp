#include "model/material_names.h"

#include <cstring>

const char* const MaterialNames[MaterialNameCount] = {"BLACK MATTE", "CHLNGER CHROME", "BLACK ROBO HOOD",
                                                      "DEFAULT"};

namespace {

constexpr size_t kNameStart = 11;  // "Material" and the three characters skipped unchecked
constexpr size_t kNameLengths[MaterialNameCount] = {sizeof "BLACK MATTE" - 1, sizeof "CHLNGER CHROME" - 1,
                                                    sizeof "BLACK ROBO HOOD" - 1, sizeof "DEFAULT" - 1};

// The rule itself, character by character: a NUL anywhere ends the text.
MaterialIndex MaterialIndexOfText(const char* text) {
  for (size_t i = 0; i < kNameStart; ++i) {
    if (text[i] == '\0') return -1;
  }
  const char* name = text + kNameStart;
  for (int i = 0; i < MaterialNameCount; ++i) {
    // A text character that matches a name character is not the end, so the next one can be read.
    size_t n = 0;
    while (MaterialNames[i][n] != '\0' && name[n] == MaterialNames[i][n]) ++n;
    // The whole name, then exactly one character (the closing quote) before the end.
    if (MaterialNames[i][n] == '\0' && name[n] != '\0' && name[n + 1] == '\0') return i;
  }
  return -1;
}

}  // namespace

// Every face of a scene has a material line. The line's length picks the one name it can hold,
// compared in a few wide loads; the match also shows the line has no NUL of its own before its end,
// so the character rule would give the same. Anything else takes that rule.
MaterialIndex MaterialIndexOfLine(const char* text, size_t length) {
  if (length > kNameStart && text[8] != '\0' && text[9] != '\0' && text[10] != '\0' && text[length - 1] != '\0') {
#pragma GCC unroll 4
    for (int i = 0; i < MaterialNameCount; ++i) {
      if (kNameLengths[i] == length - kNameStart - 1 &&
          std::memcmp(text + kNameStart, MaterialNames[i], kNameLengths[i]) == 0) {
        return i;
      }
    }
  }
  return MaterialIndexOfText(text);
}
