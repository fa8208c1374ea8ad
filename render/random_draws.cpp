// The unseeded linear congruential generator of the texture offsets.
#include "render/random_draws.h"

namespace {
uint32_t processState = 1;
}

int NextRandomDraw(uint32_t& state) {
  state = state * 214013u + 2531011u;
  return static_cast<int>((state >> 16) & 0x7FFFu);
}

int DrawRandom() { return NextRandomDraw(processState); }

uint32_t RandomDrawState() { return processState; }

void RestartRandomDraws() { processState = 1; }
