// The scripted session for the memory checks: the real program under Xvfb in a small window gets
// every key, every menu choice, orbit drags, a manual run of 50 saved frames, and a close.
// The sanitized program does it here; scripts/memcheck.sh runs the same session with the optimised
// program under valgrind (the disabled case below, given its command line in the environment) and
// reads valgrind's verdict from its log.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/scene_files.h"
#include "reliability/program_run.h"

namespace {

using reliability::ProgramRun;
namespace fs = std::filesystem;

// 22 small boxes, one per rig mesh, in every material: all seven parts draw something.
std::string BoxRobotScene() {
  static const char* const kMaterials[4] = {"BLACK MATTE", "CHLNGER CHROME", "BLACK ROBO HOOD", "DEFAULT"};
  std::string scene;
  for (int i = 0; i < 22; ++i) {
    scene += e2e::BoxObjectText("Box" + std::to_string(i), {-3.5 + 0.5 * (i % 7), 2.0, 0.8 + 0.9 * (i / 7)},
                                {0.2, 0.2, 0.2}, kMaterials[i % 4]);
  }
  return scene;
}

// Number of files in images/ when each is a whole P6 frame of the viewer's own header; -1 otherwise.
int WholeFrames(const fs::path& images) {
  int count = 0;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(images, error)) {
    const std::string bytes = e2e::ReadFile(entry.path().string());
    int width = 0, height = 0, used = 0;
    if (std::sscanf(bytes.c_str(), "P6\n# CREATOR: glDumpWindowPPM() by Wexmoor\n%d %d\n255\n%n", &width, &height,
                    &used) != 2 ||
        used == 0 ||
        bytes.size() != static_cast<size_t>(used) + static_cast<size_t>(width) * static_cast<size_t>(height) * 3) {
      return -1;
    }
    ++count;
  }
  return count;
}

class MemoryRun : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.Start()) << "Xvfb did not start";
    directory = reliability::MakeRunDirectory("memory");
    reliability::WriteFile(directory / "De_209.asc", BoxRobotScene());
    // The shipped textures: every bitmap encoding the generator writes goes through the loader.
    std::error_code error;
    fs::copy(fs::path(STRIVEX_BINARY_DIR) / "tex", directory / "tex", error);
    ASSERT_FALSE(error) << "the build's textures: " << error.message();
    fs::create_directory(directory / "images");
  }
  void TearDown() override {
    std::error_code error;
    if (std::getenv("STRIVEX_MEMORY_RUN_KEEP") == nullptr) fs::remove_all(directory, error);
  }

  // Everything a user can do, then the close; the program must end with status 0.
  void Session(ProgramRun& run) {
    run.Start();
    ASSERT_TRUE(run.WaitUntilRunning()) << run.Console() << run.Errors();
    for (const char* key : {"w", "e", "q", "1", "3", "2", "s", "s", "x"}) ASSERT_TRUE(run.Key(key)) << key;
    // Solid, Wireframe, Textures, Slow, Fast, Medium.
    for (int entry : {2, 3, 1, 4, 6, 5})
      ASSERT_TRUE(run.MenuChoice(entry)) << "menu entry " << entry << "\n" << run.Errors();
    // Short enough to stay inside a small window.
    ASSERT_TRUE(run.Drag(40, -30));
    ASSERT_TRUE(run.Drag(-50, 20));
    const fs::path images = directory / "images";
    ASSERT_TRUE(run.Key("m"));
    ASSERT_TRUE(e2e::WaitFor([&] { return WholeFrames(images) >= 50; }, 60.0 * run.Patience()))
        << "manual mode saved " << WholeFrames(images) << " frames\n"
        << run.Errors();
    ASSERT_TRUE(run.Key("d"));
    // Saving stops; every file is whole and has its console line.
    int last = -2;
    ASSERT_TRUE(e2e::WaitFor(
        [&] {
          const int now = WholeFrames(images);
          const bool settled = now == last;
          last = now;
          return settled;
        },
        30.0 * run.Patience()));
    EXPECT_GE(last, 50);
    std::istringstream console(run.Console());
    int wrote = 0;
    for (std::string line; std::getline(console, line);) wrote += line.rfind("Wrote ", 0) == 0;
    EXPECT_EQ(wrote, last);
    std::printf("the session saved %d whole frames\n", last);
    int status = -1;
    ASSERT_TRUE(run.Close(&status)) << "still running after the close request";
    EXPECT_EQ(status, 0) << run.Errors();
  }

  e2e::XvfbServer server;
  fs::path directory;
};

TEST_F(MemoryRun, SanitizedProgramThroughTheScriptedSession) {
  ProgramRun run(&server, {std::string(STRIVEX_BINARY_DIR) + "/strivex", "-geometry", "160x160"}, directory, false,
                 4.0);
  Session(run);
  EXPECT_FALSE(reliability::HasSanitizerReport(run.Errors())) << run.Errors();
}

// The command comes from STRIVEX_MEMORY_RUN_COMMAND (words separated by blanks), e.g. valgrind with
// its options and the optimised program; STRIVEX_MEMORY_RUN_PATIENCE scales the waits (default 30).
TEST_F(MemoryRun, DISABLED_CommandFromTheEnvironment) {
  const char* text = std::getenv("STRIVEX_MEMORY_RUN_COMMAND");
  ASSERT_NE(text, nullptr) << "set STRIVEX_MEMORY_RUN_COMMAND (scripts/memcheck.sh does)";
  std::vector<std::string> command;
  std::istringstream words(text);
  for (std::string word; words >> word;) command.push_back(word);
  const char* patience = std::getenv("STRIVEX_MEMORY_RUN_PATIENCE");
  ProgramRun run(&server, command, directory, false, patience ? std::atof(patience) : 30.0);
  Session(run);
}

}  // namespace
