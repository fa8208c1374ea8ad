// Child processes of the tests: other programs started with their output in files and waited for
// with a time-out.
#pragma once

#include <grp.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "support/scratch_dir.h"

// Starts argv (found on PATH) in `directory` (empty: this one) with extra "NAME=value" environment
// entries, standard output and error sent to files (empty: inherited), as the user nobody when
// `asNobody` and the tests run as root (so that file permissions apply to it).
inline pid_t Spawn(const std::vector<std::string>& argv, const std::string& directory,
                   const std::vector<std::string>& extraEnvironment, const std::string& outPath,
                   const std::string& errPath, bool asNobody = false) {
  std::fflush(stdout);
  std::fflush(stderr);
  const pid_t pid = fork();
  if (pid != 0) return pid;
  for (const std::string& entry : extraEnvironment) putenv(const_cast<char*>(entry.c_str()));
  if ((!directory.empty() && chdir(directory.c_str()) != 0) ||
      (!outPath.empty() && !freopen(outPath.c_str(), "w", stdout)) ||
      (!errPath.empty() && (errPath == outPath ? dup2(1, 2) < 0 : !freopen(errPath.c_str(), "w", stderr))) ||
      (asNobody && geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))) {
    _exit(126);
  }
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

// False when the child did not end in time (it is then killed); *status is its exit status, or
// 128 + the signal that ended it.
inline bool WaitExit(pid_t pid, double seconds, int* status) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  int raw = 0;
  while (waitpid(pid, &raw, WNOHANG) != pid) {
    if (std::chrono::steady_clock::now() > end) return kill(pid, SIGKILL), waitpid(pid, nullptr, 0), false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
  return true;
}
