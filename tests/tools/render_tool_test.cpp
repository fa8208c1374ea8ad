// strivex-render as a user runs it: refused bad options, and the same frames on every run with the
// same options.
#include <gtest/gtest.h>

#include "support/child_process.h"
#include "support/scratch_dir.h"

namespace {

TEST(RenderTool, RefusesBadOptionsAndRendersTheSameFramesEveryRun) {
  ScratchDir scratch;
  const std::string log = scratch.File("log.txt");
  auto run = [&](std::vector<std::string> args) {
    args.insert(args.begin(), STRIVEX_BINARY_DIR "/strivex-render");
    int status = -1;
    return WaitExit(Spawn(args, "", {}, log, log), 120.0, &status) ? status : -1;
  };
  EXPECT_EQ(run({"--help"}), 0);
  EXPECT_NE(ReadWholeFile(log).find("--start-time"), std::string::npos);
  for (const auto& bad : std::vector<std::vector<std::string>>{
           {"--elevation", "81"}, {"--start-time", "0"}, {"--frobnicate", "1"}, {"--mode", "cubist"}}) {
    EXPECT_EQ(run(bad), 1) << bad[0];
  }
  EXPECT_EQ(ReadWholeFile(log), "strivex-render: bad value 'cubist' for --mode (see --help)\n");
  std::string frames[2];
  for (int i = 0; i < 2; ++i) {
    const std::string out = scratch.File("run" + std::to_string(i));
    ASSERT_EQ(run({"--scene", STRIVEX_BINARY_DIR, "--frames", "2", "--size", "96x80", "--speed", "fast",
                   "--background", "1", "--azimuth", "150", "--start-time", "123456", "--output", out}), 0);
    frames[i] = ReadWholeFile(out + "/image000.ppm") + ReadWholeFile(out + "/image001.ppm");
  }
  EXPECT_EQ(frames[0].size(), 2u * (53 + 96 * 80 * 3));
  EXPECT_TRUE(frames[0] == frames[1]) << "two runs differ";
}

}  // namespace
