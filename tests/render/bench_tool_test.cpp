// strivex-bench as a user runs it: a table row per render mode, each with the pixels in which the
// program's frame differs from the per-triangle stream's, within what drawing less may change.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include "e2e/x_session.h"

namespace fs = std::filesystem;

namespace {

const std::string kBench = std::string(STRIVEX_BINARY_DIR) + "/strivex-bench";

int RunBench(const std::vector<std::string>& argv, const fs::path& out) {
  const pid_t pid = e2e::Spawn(argv, "", {}, (out / "stdout.txt").string(), (out / "stderr.txt").string());
  int status = -1;
  if (!e2e::WaitExit(pid, 120.0, &status)) return -1;
  return status;
}

TEST(BenchTool, EveryModeIsTimedBesideAReferenceOfTheSamePicture) {
  const fs::path scratch = fs::temp_directory_path() / ("strivex-bench-test-" + std::to_string(getpid()));
  fs::create_directories(scratch);
  ASSERT_EQ(RunBench({kBench, "--scene", STRIVEX_BINARY_DIR, "--frames", "2", "--size", "120x100"}, scratch), 0)
      << e2e::ReadFile((scratch / "stderr.txt").string());
  std::istringstream table(e2e::ReadFile((scratch / "stdout.txt").string()));
  int rows = 0;
  for (std::string line; std::getline(table, line);) {
    double first = 0, later = 0, reference = 0;
    char name[16];
    if (std::sscanf(line.c_str(), "%15s %lf ms %lf ms %lf ms", name, &first, &later, &reference) != 4) continue;
    ++rows;
    EXPECT_GT(later, 0.0) << line;
    EXPECT_GT(reference, 0.0) << line;
    // The last column: pixels of one frame where the two pictures differ, out of 12,000.
    const size_t open = line.rfind('(');
    ASSERT_NE(open, std::string::npos) << line;
    const long differing = std::stol(line.substr(line.rfind(' ', open - 2) + 1));
    EXPECT_LE(differing, std::string(name) == "Wireframe" ? 1200 : 10) << line;
  }
  EXPECT_EQ(rows, 3);
  EXPECT_EQ(RunBench({kBench, "--mode", "solid"}, scratch), 1);
  EXPECT_NE(e2e::ReadFile((scratch / "stderr.txt").string()).find("--mode does not apply"), std::string::npos);
  fs::remove_all(scratch);
}

}  // namespace
