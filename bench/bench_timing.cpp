#include "bench/bench_timing.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

double MillisecondsSince(BenchClock::time_point start) {
  return std::chrono::duration<double, std::milli>(BenchClock::now() - start).count();
}

double ThreadCpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

SilencedStdout::SilencedStdout() : saved(dup(1)) {
  std::fflush(stdout);
  const int null = open("/dev/null", O_WRONLY);
  dup2(null, 1);
  close(null);
}

SilencedStdout::~SilencedStdout() {
  std::fflush(stdout);
  dup2(saved, 1);
  close(saved);
}
