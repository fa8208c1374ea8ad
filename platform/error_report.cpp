#include "platform/error_report.h"

#include <cstdio>
#include <cstring>

void ShowErrorMessage(const char* text) {
  size_t length = std::strlen(text);
  if (length > 0 && text[length - 1] == '\n') --length;
  std::fprintf(stderr, "Error: %.*s\n", static_cast<int>(length), text);
  std::fflush(stderr);
}
