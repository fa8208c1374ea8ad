// A short run of strivex-soak, the long-run checker: every render mode, speed and background
// visited through the program's own controls, the display lists and texture objects counted
// before and after, the last frame written. The full 20,000-frame run is made by hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "e2e/scene_files.h"
#include "e2e/x_session.h"

namespace fs = std::filesystem;

namespace {

const std::string kSoak = std::string(STRIVEX_BINARY_DIR) + "/strivex-soak";

class SoakTool : public testing::Test {
 protected:
  void SetUp() override {
    scratch = fs::temp_directory_path() / ("strivex-soak-test-" + std::to_string(getpid()));
    fs::remove_all(scratch);
    fs::create_directories(scratch / "tex");
  }
  void TearDown() override { fs::remove_all(scratch); }

  int Run(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {kSoak};
    argv.insert(argv.end(), args.begin(), args.end());
    const pid_t pid = e2e::Spawn(argv, "", {}, (scratch / "stdout.txt").string(), (scratch / "stderr.txt").string());
    int status = -1;
    if (!e2e::WaitExit(pid, 120.0, &status)) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
      return -1;
    }
    return status;
  }

  std::string Output() const { return e2e::ReadFile((scratch / "stdout.txt").string()); }
  std::string Errors() const { return e2e::ReadFile((scratch / "stderr.txt").string()); }

  fs::path scratch;
};

// The count of one kind of GL object on the report line of one sample ("start", "end").
int Count(const std::string& report, const std::string& sample, const std::string& what) {
  std::smatch match;
  const std::regex line("(^|\n)" + sample + " +frame +[0-9]+ [^\n]*" + what + " +([0-9]+)");
  return std::regex_search(report, match, line) ? std::stoi(match[2]) : -1;
}

TEST_F(SoakTool, ControlsCycleLeavesListsAndTexturesAsTheyWere) {
  std::string scene;
  for (int i = 0; i < 22; ++i) {
    scene += e2e::BoxObjectText("Box" + std::to_string(i), {-3.0 + 0.3 * (i % 7), 2.0, 1.0 + 0.4 * (i / 7)},
                                {0.1, 0.1, 0.1}, i % 2 ? "CHLNGER CHROME" : "BLACK ROBO HOOD");
  }
  std::ofstream(scratch / "De_209.asc", std::ios::binary) << scene;
  for (const char* name : {"gray1", "gray2", "blue1", "stars2", "gray3", "sky1", "grass"}) {
    ASSERT_TRUE(e2e::WriteBmp24((scratch / "tex" / (std::string(name) + ".bmp")).string(), 8, 8, [](int x, int y) {
      return e2e::Rgb8{static_cast<uint8_t>(30 * x), static_cast<uint8_t>(30 * y), 90};
    }));
  }
  const fs::path picture = scratch / "last.ppm";
  ASSERT_EQ(Run({"--scene", scratch.string(), "--frames", "480", "--every", "10", "--size", "64x48", "--picture",
                 picture.string()}),
            0)
      << Output() << Errors();
  const std::string report = Output();
  EXPECT_NE(report.find("display lists: flat; texture objects: flat"), std::string::npos) << report;
  // One list per mesh, one texture object per picture; none added by the later cycles.
  EXPECT_EQ(Count(report, "start", "display lists"), 22) << report;
  EXPECT_EQ(Count(report, "end", "display lists"), 22) << report;
  EXPECT_EQ(Count(report, "start", "texture objects"), 7) << report;
  EXPECT_EQ(Count(report, "end", "texture objects"), 7) << report;
  const std::string frame = e2e::ReadFile(picture.string());
  const std::string header = "P6\n# CREATOR: glDumpWindowPPM() by Wexmoor\n64 48\n255\n";
  EXPECT_EQ(frame.size(), header.size() + 64 * 48 * 3);
  EXPECT_EQ(frame.compare(0, header.size(), header), 0);
}

}  // namespace
