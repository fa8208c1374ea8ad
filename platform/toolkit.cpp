#include "platform/toolkit.h"

namespace {

void NoSwap() {}
void NoRedisplay() {}
void NoMenuChange(int, const char*, int) {}

}  // namespace

ToolkitCalls toolkit = {NoSwap, NoRedisplay, NoMenuChange};
