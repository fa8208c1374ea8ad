// The real millisecond clock against elapsed wall time: every test elsewhere sets its own clock, so
// only this one sees a wrong unit (the robot walking ten times too fast or not at all).
#include "platform/clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

TEST(Clock, CountsMillisecondsOfWallTime) {
  SetClockSource(nullptr);
  const auto wallStart = std::chrono::steady_clock::now();
  const uint32_t start = timeGetTime();
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  const uint32_t ticks = timeGetTime() - start;
  const double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart).count();
  // Generous: a busy machine may stretch the sleep, but not turn milliseconds into tenths or seconds.
  EXPECT_GE(ticks, 0.5 * wall - 5);
  EXPECT_LE(ticks, 2.0 * wall + 5);
}
