// The real programs started under Xvfb: the control summary, the model file's statuses as exit
// statuses without entering the event loop, the window, and a clean end when it is closed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "e2e/x_session.h"

namespace fs = std::filesystem;

namespace {

const char* const kSummary =
    " Controls done by mouse via menus, or:\n"
    "  1..3 - controls speed\n"
    "  q/w/e - Texture/Solid/Wireframe\n"
    " Controls only through keyboard:\n"
    "  m - and drop into manual mode (1/15sec advance per frame)\n"
    "      also saves into ppm files in the images/ subdirectory which must exist.\n"
    "  d - drop outof manual mode (get into by pressing 'm')\n"
    "  s - toggle background set\n"
    " Warning:  Very high density model, so on the higher speeds\n"
    "  a whole cycle will probably occur between redraws on most\n"
    "  video cards.\n";

const char* const kSmallScene =
    "Named object: \"Hull\"\nTri-mesh, Vertices: 3  Faces: 1\nVertex list:\n"
    "Vertex 0:  X: -3 Y: 2 Z: 1\nVertex 1:  X: -1 Y: 2 Z: 1\nVertex 2:  X: -2 Y: 2 Z: 4\n"
    "Face list:\nFace 0:    A:0 B:1 C:2\nMaterial: \"CHLNGER CHROME\"\n";

class Startup : public e2e::XvfbSuite {
 protected:
  void SetUp() override {
    directory = fs::temp_directory_path() / ("strivex-e2e-" + std::to_string(getpid()) + "-" +
                                             testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(directory);
    fs::create_directories(directory);
  }
  void TearDown() override { fs::remove_all(directory); }

  void Write(const std::string& name, const std::string& content) {
    std::ofstream(directory / name, std::ios::binary) << content;
  }

  pid_t Start(const std::string& program) {
    return e2e::Spawn({std::string(STRIVEX_BINARY_DIR) + "/" + program}, directory.string(),
                      {"DISPLAY=" + server->display}, (directory / "stdout.txt").string(),
                      (directory / "stderr.txt").string());
  }

  std::string Console() { return e2e::ReadFile((directory / "stdout.txt").string()); }
  std::string Errors() { return e2e::ReadFile((directory / "stderr.txt").string()); }

  fs::path directory;
};

TEST_F(Startup, NoModelFileEndsWithStatus2BeforeTheEventLoop) {
  const pid_t pid = Start("strivex");
  int status = -1;
  ASSERT_TRUE(e2e::WaitExit(pid, 60.0, &status));
  EXPECT_EQ(status, 2);
  EXPECT_EQ(Console(), std::string(kSummary) + "Error opening file!\n");
  EXPECT_EQ(Errors().find("Sanitizer"), std::string::npos) << Errors();
}

TEST_F(Startup, ModelFileThatIsADirectoryCannotBeOpened) {
  fs::create_directory(directory / "De_209.asc");
  const pid_t pid = Start("strivex-release");
  int status = -1;
  ASSERT_TRUE(e2e::WaitExit(pid, 60.0, &status));
  EXPECT_EQ(status, 2);
  EXPECT_EQ(Console(), std::string(kSummary) + "Error opening file!\n");
}

TEST_F(Startup, BadHeaderEndsWithStatus3) {
  Write("De_209.asc", "Named object: \"Hull\"\n Tri-mesh, Vertices: 3  Faces: 1\n");
  const pid_t pid = Start("strivex");
  int status = -1;
  ASSERT_TRUE(e2e::WaitExit(pid, 60.0, &status));
  EXPECT_EQ(status, 3);
  EXPECT_EQ(Console(), std::string(kSummary) +
                           "Reading models... Error reading header of object 0Error when reading object #0!\n");
  EXPECT_EQ(Errors().find("Sanitizer"), std::string::npos) << Errors();
}

TEST_F(Startup, GoodFileOpensTheWindowAndClosingItEndsCleanly) {
  for (const char* program : {"strivex", "strivex-release"}) {
    SCOPED_TRACE(program);
    Write("De_209.asc", kSmallScene);
    const pid_t pid = Start(program);
    const Window window = server->FindWindow("Ambulon", 60.0);
    ASSERT_NE(window, 0u) << Console() << Errors();
    int width = 0, height = 0;
    ASSERT_TRUE(server->WindowSize(window, &width, &height));
    EXPECT_EQ(width, 500);
    EXPECT_EQ(height, 500);
    // The window is up before the model is read; give the loader its moment.
    EXPECT_TRUE(e2e::WaitFor([&] { return Console().find("Reading models...  0:Hull; \n") != std::string::npos; }, 30));
    server->RequestClose(window);
    int status = -1;
    ASSERT_TRUE(e2e::WaitExit(pid, 60.0, &status)) << "did not end after the close request";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Console(), std::string(kSummary) + "Reading models...  0:Hull; \n");
    EXPECT_EQ(Errors().find("Sanitizer"), std::string::npos) << Errors();
  }
}

}  // namespace
