// What every bench program times with: wall and processor milliseconds, the median of a run of
// times, and standard output silenced around a load that prints its progress.
#pragma once

#include <chrono>
#include <vector>

using BenchClock = std::chrono::steady_clock;

double MillisecondsSince(BenchClock::time_point start);

// Processor time of this thread: on a shared machine, wall time also counts the waits for a processor.
double ThreadCpuMilliseconds();

// The middle value (the mean of the two middle ones for an even count); 0 for none.
double Median(std::vector<double> values);

// Standard output goes to /dev/null while one of these lives.
class SilencedStdout {
 public:
  SilencedStdout();
  ~SilencedStdout();
  SilencedStdout(const SilencedStdout&) = delete;
  SilencedStdout& operator=(const SilencedStdout&) = delete;

 private:
  int saved;
};
