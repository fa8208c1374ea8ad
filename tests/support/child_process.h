// Runs one test of this same test program in a child process with extra sanitizer options, for
// behaviour that the parent's options forbid (e.g. an allocation the allocator must refuse with
// null instead of ending the process).
#pragma once

#include <string>

// Environment variable set for the child; a child-only test checks for it.
constexpr const char* ChildTestVariable = "STRIVEX_CHILD_TEST";

// Runs the (normally disabled) test `filter` with ASAN_OPTIONS=asanOptions; returns its exit
// status (-1 when it could not be run or did not exit normally) and its combined output.
int RunChildTest(const std::string& filter, const std::string& asanOptions, std::string* output);
