// strivex-render as a user runs it: refused bad options, and the same frames on every run with the
// same options.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/x_session.h"
#include "support/scratch_dir.h"

namespace {

int RunRenderer(std::vector<std::string> args, const ScratchDir& scratch) {
  args.insert(args.begin(), std::string(STRIVEX_BINARY_DIR) + "/strivex-render");
  const pid_t pid = e2e::Spawn(args, "", {}, scratch.File("stdout.txt"), scratch.File("stderr.txt"));
  int status = -1;
  return e2e::WaitExit(pid, 120.0, &status) ? status : -1;
}

TEST(RenderTool, RefusesBadOptionsAndRendersTheSameFramesEveryRun) {
  ScratchDir scratch;
  EXPECT_EQ(RunRenderer({"--help"}, scratch), 0);
  EXPECT_NE(ReadWholeFile(scratch.File("stdout.txt")).find("--start-time"), std::string::npos);
  for (const auto& bad : std::vector<std::vector<std::string>>{
           {"--elevation", "81"}, {"--start-time", "0"}, {"--frobnicate", "1"}, {"--mode", "cubist"}}) {
    EXPECT_EQ(RunRenderer(bad, scratch), 1) << bad[0];
  }
  EXPECT_NE(ReadWholeFile(scratch.File("stderr.txt")).find("bad value 'cubist' for --mode"), std::string::npos);
  std::string frames[2];
  for (int run = 0; run < 2; ++run) {
    const std::string out = scratch.File("run" + std::to_string(run));
    ASSERT_EQ(RunRenderer({"--scene", STRIVEX_BINARY_DIR, "--frames", "2", "--size", "96x80", "--speed", "fast",
                           "--background", "1", "--azimuth", "150", "--start-time", "123456", "--output", out},
                          scratch),
              0);
    for (int i = 0; i < 2; ++i) frames[run] += ReadWholeFile(out + "/image00" + std::to_string(i) + ".ppm");
  }
  EXPECT_EQ(frames[0].size(), 2u * (53 + 96 * 80 * 3));
  EXPECT_TRUE(frames[0] == frames[1]) << "two runs differ";
}

}  // namespace
