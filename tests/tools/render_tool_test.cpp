// strivex-render as a user runs it: documented options, refused bad ones, and frames that are the
// same bytes on every run with the same options.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "e2e/x_session.h"

namespace fs = std::filesystem;

namespace {

const std::string kRenderer = std::string(STRIVEX_BINARY_DIR) + "/strivex-render";

int RunTool(const std::vector<std::string>& argv, const fs::path& out) {
  const pid_t pid = e2e::Spawn(argv, "", {}, (out / "stdout.txt").string(), (out / "stderr.txt").string());
  int status = -1;
  if (!e2e::WaitExit(pid, 120.0, &status)) return -1;
  return status;
}

class RenderTool : public testing::Test {
 protected:
  void SetUp() override {
    scratch = fs::temp_directory_path() / ("strivex-render-test-" + std::to_string(getpid()));
    fs::remove_all(scratch);
    fs::create_directories(scratch);
  }
  void TearDown() override { fs::remove_all(scratch); }
  fs::path scratch;
};

TEST_F(RenderTool, HelpDocumentsTheOptionsAndBadOptionsAreRefused) {
  EXPECT_EQ(RunTool({kRenderer, "--help"}, scratch), 0);
  const std::string usage = e2e::ReadFile((scratch / "stdout.txt").string());
  for (const char* option : {"--frames", "--size", "--mode", "--speed", "--background", "--azimuth", "--elevation",
                             "--start-time", "--output", "--scene"}) {
    EXPECT_NE(usage.find(option), std::string::npos) << option;
  }
  EXPECT_EQ(RunTool({kRenderer, "--mode", "cubist"}, scratch), 1);
  EXPECT_NE(e2e::ReadFile((scratch / "stderr.txt").string()).find("bad value 'cubist' for --mode"), std::string::npos);
  EXPECT_EQ(RunTool({kRenderer, "--elevation", "81"}, scratch), 1);
  EXPECT_EQ(RunTool({kRenderer, "--start-time", "0"}, scratch), 1);
  EXPECT_EQ(RunTool({kRenderer, "--frobnicate", "1"}, scratch), 1);
}

TEST_F(RenderTool, SameOptionsGiveIdenticalFrames) {
  for (const char* mode : {"textured", "wireframe"}) {
    SCOPED_TRACE(mode);
    std::vector<std::string> args = {kRenderer, "--scene", STRIVEX_BINARY_DIR, "--frames", "3", "--size", "96x80",
                                     "--mode", mode, "--speed", "fast", "--background", "1", "--azimuth", "150",
                                     "--start-time", "123456"};
    std::string outputs[2];
    for (int run = 0; run < 2; ++run) {
      const fs::path out = scratch / (std::string(mode) + std::to_string(run));
      std::vector<std::string> argv = args;
      argv.insert(argv.end(), {"--output", out.string()});
      ASSERT_EQ(RunTool(argv, scratch), 0) << e2e::ReadFile((scratch / "stderr.txt").string());
      for (int i = 0; i < 3; ++i) outputs[run] += e2e::ReadFile((out / ("image00" + std::to_string(i) + ".ppm")).string());
    }
    ASSERT_EQ(outputs[0].size(), 3u * (std::string("P6\n# CREATOR: glDumpWindowPPM() by Wexmoor\n96 80\n255\n").size() + 96 * 80 * 3));
    EXPECT_TRUE(outputs[0] == outputs[1]) << "two runs differ";
  }
}

}  // namespace
