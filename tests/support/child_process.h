// Child processes of the tests: other programs started with their output in files and waited for
// with a time-out, and one test of this same test program run with extra sanitizer options, for
// behaviour that the parent's options forbid (e.g. an allocation the allocator must refuse with
// null instead of ending the process).
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// Starts argv (found on PATH) in `directory` (empty: this one) with extra "NAME=value" environment
// entries, standard output and error sent to files (empty: inherited), as the user nobody when
// `asNobody` and the tests run as root (so that file permissions apply to it).
pid_t Spawn(const std::vector<std::string>& argv, const std::string& directory,
            const std::vector<std::string>& extraEnvironment, const std::string& outPath, const std::string& errPath,
            bool asNobody = false);
// False when the child did not end in time (it is then killed); *status is its exit status, or
// 128 + the signal that ended it.
bool WaitExit(pid_t pid, double seconds, int* status);

// Environment variable set for the child; a child-only test checks for it.
constexpr const char* ChildTestVariable = "STRIVEX_CHILD_TEST";

// Runs the (normally disabled) test `filter` with ASAN_OPTIONS=asanOptions; returns its exit
// status (-1 when it could not be run or did not exit normally) and its combined output.
int RunChildTest(const std::string& filter, const std::string& asanOptions, std::string* output);
