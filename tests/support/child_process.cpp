// Child runs of the test program.
#include "support/child_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "support/scratch_dir.h"

int RunChildTest(const std::string& filter, const std::string& asanOptions, std::string* output) {
  ScratchDir scratch;
  const std::string logPath = scratch.File("child.log");
  const std::string filterArgument = "--gtest_filter=" + filter;
  std::fflush(stdout);
  std::fflush(stderr);
  const pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (log < 0) _exit(126);
    dup2(log, 1);
    dup2(log, 2);
    setenv(ChildTestVariable, "1", 1);
    setenv("ASAN_OPTIONS", asanOptions.c_str(), 1);
    execl("/proc/self/exe", "strivex_tests", filterArgument.c_str(), "--gtest_also_run_disabled_tests",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  *output = ReadWholeFile(logPath);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
