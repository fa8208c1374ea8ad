#include "platform/diagnostics.h"

#include <cstdio>

void OutputDebugStringA(const char* text) {
  std::fputs(text, stderr);
  std::fflush(stderr);
}
