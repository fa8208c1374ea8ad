// The pseudo-random draws behind the per-triangle texture offsets: a linear congruential generator
// that is never seeded, so the textured robot looks the same on every run. Nothing else draws from it.
#pragma once

#include <cstdint>

constexpr int RandomDrawMax = 32767;

// One generator step on the given state: state = state * 214013 + 2531011 (mod 2^32), and the
// draw is bits 16..30 of the new state (0..32767).
int NextRandomDraw(uint32_t& state);

// The next draw of the process-wide generator, which starts from state 1 (first draws: 41, 18467).
int DrawRandom();

// The process-wide generator's state, so that a caller can predict the coming draws with
// NextRandomDraw without consuming them.
uint32_t RandomDrawState();

// Puts the process-wide generator back to its start (state 1). The program never needs it: tests
// that compare with pictures drawn from the first draws do, whatever ran before them.
void RestartRandomDraws();
