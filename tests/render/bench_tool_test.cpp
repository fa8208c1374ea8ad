// strivex-bench as a user runs it: a table row per render mode, each with the pixels in which the
// program's frame differs from the per-triangle stream's, within what drawing less may change.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <sstream>
#include <string>

namespace {

// Standard output and error of a command line, and its exit status.
std::string RunBench(const std::string& arguments, int* status) {
  std::string output;
  std::FILE* pipe = popen((STRIVEX_BINARY_DIR "/strivex-bench " + arguments + " 2>&1").c_str(), "r");
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
  *status = WEXITSTATUS(pclose(pipe));
  return output;
}

TEST(BenchTool, EveryModeIsTimedBesideTheReferenceAndComparedWithThePerTriangleStream) {
  int status = -1;
  std::istringstream table(RunBench("--scene " STRIVEX_BINARY_DIR " --frames 2 --size 120x100", &status));
  ASSERT_EQ(status, 0) << table.str();
  int rows = 0;
  for (std::string line; std::getline(table, line);) {
    double first = 0, later = 0, reference = 0;
    char name[16];
    if (std::sscanf(line.c_str(), "%15s %lf ms %lf ms %lf ms", name, &first, &later, &reference) != 4) continue;
    ++rows;
    EXPECT_GT(later * reference, 0.0) << line;
    // The last column: pixels of one frame unlike the per-triangle stream's, out of 12,000.
    const size_t open = line.rfind('(');
    ASSERT_NE(open, std::string::npos) << line;
    EXPECT_LE(std::stol(line.substr(line.rfind(' ', open - 2) + 1)), std::string(name) == "Wireframe" ? 1200 : 10);
  }
  EXPECT_EQ(rows, 3);
  EXPECT_NE(RunBench("--mode solid", &status).find("--mode does not apply"), std::string::npos);
  EXPECT_EQ(status, 1);
}

}  // namespace
