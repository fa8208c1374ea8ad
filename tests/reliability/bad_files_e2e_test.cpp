// The real sanitized program under Xvfb, given damaged, missing and unusable files: scene files
// that cannot be opened or are rejected, damaged scenes, broken textures, an images/ directory that
// is missing or read-only while frames are saved, and a disk that fills up in the middle of a frame.
// In every case the user gets a message, the program does not crash, the sanitizers stay quiet and
// no frame file is left behind that looks whole but is not.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "e2e/scene_files.h"
#include "reliability/program_run.h"

namespace {

using reliability::HasSanitizerReport;
using reliability::LinesStartingWith;
using reliability::ProgramRun;
namespace fs = std::filesystem;

const std::string kFrameHeader = e2e::kPpmHeader500;
constexpr size_t kFrameBytes = 500 * 500 * 3;

std::string ThreeBoxScene() {
  return e2e::BoxObjectText("Left", {-3.3, 2.0, 3.0}, {0.9, 0.9, 0.9}, "CHLNGER CHROME") +
         e2e::BoxObjectText("Right", {-0.7, 2.0, 3.0}, {0.9, 0.9, 0.9}, "BLACK ROBO HOOD") +
         e2e::BoxObjectText("Low", {-2.0, 2.0, 1.3}, {0.5, 0.5, 0.5}, "DEFAULT");
}

bool WriteTextures(const fs::path& directory) {
  fs::create_directories(directory / "tex");
  bool ok = true;
  for (const char* name : {"gray1", "gray2", "blue1", "stars2", "gray3", "sky1", "grass"}) {
    ok = ok && e2e::WriteBmp24((directory / "tex" / (std::string(name) + ".bmp")).string(), 16, 16, [](int x, int y) {
           return e2e::Rgb8{static_cast<uint8_t>(16 * x), static_cast<uint8_t>(16 * y), 200};
         });
  }
  return ok;
}

// The saved frames, by name, in order.
std::vector<std::string> FrameFiles(const fs::path& images) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(images, error)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string FrameName(int n) {
  char name[32];
  std::snprintf(name, sizeof name, "image%03d.ppm", n);
  return name;
}

// Every file in images/ is a whole 500 x 500 frame, and they are numbered 0, 1, 2, ... without a gap.
::testing::AssertionResult WholeFramesWithoutGaps(const fs::path& images, int* count) {
  const std::vector<std::string> names = FrameFiles(images);
  for (size_t n = 0; n < names.size(); ++n) {
    if (names[n] != FrameName(static_cast<int>(n)))
      return ::testing::AssertionFailure()
             << "found " << names[n] << " where " << FrameName(static_cast<int>(n)) << " belongs";
    const std::string bytes = e2e::ReadFile((images / names[n]).string());
    if (bytes.size() != kFrameHeader.size() + kFrameBytes || bytes.compare(0, kFrameHeader.size(), kFrameHeader) != 0) {
      return ::testing::AssertionFailure() << names[n] << " is not a whole frame (" << bytes.size() << " bytes)";
    }
  }
  *count = static_cast<int>(names.size());
  return ::testing::AssertionSuccess();
}

int WroteLines(const std::string& console) {
  return static_cast<int>(LinesStartingWith(console, "Wrote 500 x 500 pixels image to file (750000 bytes)\n").size());
}

class BadFiles : public e2e::XvfbSuite {
 protected:
  void SetUp() override {
    directory = reliability::MakeRunDirectory(testing::UnitTest::GetInstance()->current_test_info()->name());
  }
  void TearDown() override {
    if (mounted) umount2((directory / "images").c_str(), MNT_DETACH);
    std::error_code error;
    fs::permissions(directory / "images", fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(directory, error);
  }

  fs::path Scratch(const std::string& name) {
    const fs::path path = directory / name;
    fs::create_directories(path);
    chmod(path.c_str(), 0755);
    return path;
  }

  // Presses m, waits until `condition` holds, then presses d and waits until no new frame comes.
  static ::testing::AssertionResult ManualRunUntil(ProgramRun& run, const fs::path& images,
                                                   const std::function<bool()>& condition) {
    if (!run.Key("m")) return ::testing::AssertionFailure() << "xdotool failed";
    if (!e2e::WaitFor(condition, 60.0))
      return ::testing::AssertionFailure() << "manual run did not get there:\n" << run.Errors();
    if (!run.Key("d")) return ::testing::AssertionFailure() << "xdotool failed";
    return WaitUntilQuiet(images);
  }

  static ::testing::AssertionResult WaitUntilQuiet(const fs::path& images) {
    size_t last = SIZE_MAX;
    auto quietSince = std::chrono::steady_clock::now();
    const bool quiet = e2e::WaitFor(
        [&] {
          const size_t now = FrameFiles(images).size();
          if (now != last) last = now, quietSince = std::chrono::steady_clock::now();
          return std::chrono::steady_clock::now() - quietSince > std::chrono::milliseconds(600);
        },
        30.0);
    return quiet ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << "frames kept coming after d";
  }

  fs::path directory;
  bool mounted = false;
};

TEST_F(BadFiles, SceneFilesThatCannotBeUsedEndTheProgramWithTheirStatus) {
  struct Case {
    const char* name;
    const char* directory;
    int status;
    const char* consoleEnd;
  };
  const Case cases[] = {
      {"missing", "missing", 2, "\nError opening file!\n"},
      {"directory", "directory", 2, "\nError opening file!\n"},
      {"unreadable", "unreadable", 2, "\nError opening file!\n"},             // exists, but the user may not read it
      {"read error", "eio", 2, "\nReading models... Error reading file!\n"},  // opens, but reading it fails
      {"3001 faces", "faces", 3,
       "\nReading models... Error: too many triangles in object (3001)\nError when reading object #0!\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path dir = Scratch(c.directory);
    const fs::path scene = dir / "De_209.asc";
    if (std::string(c.name) == "directory") fs::create_directory(scene);
    if (std::string(c.name) == "unreadable") {
      reliability::WriteFile(scene, ThreeBoxScene());
      chmod(scene.c_str(), 0);  // nobody else, and no ordinary owner, may read it
    }
    // The program's own memory: it opens, and reading at offset 0 fails with an I/O error.
    if (std::string(c.name) == "read error") fs::create_symlink("/proc/self/mem", scene);
    if (std::string(c.name) == "3001 faces") {
      reliability::WriteFile(scene,
                             "Named object: \"Big\"\nTri-mesh, Vertices: 3  Faces: 3001\nVertex list:\n"
                             "Vertex 0:  X: 0 Y: 0 Z: 0\nVertex 1:  X: 1 Y: 0 Z: 0\nVertex 2:  X: 0 Y: 0 Z: 1\n");
    }
    ProgramRun run(server, "strivex", dir, /*unprivileged=*/true);
    run.Start();
    int status = -1;
    ASSERT_TRUE(run.WaitForExit(&status)) << "still running: the event loop was entered";
    EXPECT_EQ(status, c.status) << run.Errors();
    const std::string console = run.Console(), end = c.consoleEnd;
    EXPECT_TRUE(console.size() >= end.size() && console.compare(console.size() - end.size(), end.size(), end) == 0)
        << console;
    EXPECT_FALSE(HasSanitizerReport(run.Errors())) << run.Errors();
  }
}

TEST_F(BadFiles, DamagedScenesOpenTheWindowWithWhatCouldBeRead) {
  // Cut in the middle of a number of the third object's fourth vertex line, as an interrupted copy
  // leaves a file.
  const std::string whole = ThreeBoxScene();
  const size_t third = whole.find("Named object: \"Low\"");
  const size_t vertex = whole.find("Vertex 3:", third);
  const size_t cut = whole.find('.', vertex) + 2;
  const std::string cutLine = whole.substr(vertex, cut - vertex);
  // Bytes of no scene at all, from a fixed sequence so that every run sees the same ones.
  std::string garbage(65536, '\0');
  uint32_t state = 12345;
  for (char& byte : garbage) byte = static_cast<char>((state = state * 1103515245u + 12345u) >> 23);

  struct Case {
    const char* name;
    std::string bytes;
    std::string loadLine;
  };
  const Case cases[] = {
      {"truncated", whole.substr(0, cut),
       "Reading models...  0:Left;  1:Right; Error reading a point from '" + cutLine + "!'\n 2:Low; \n"},
      {"garbage", garbage, "Reading models... \n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path dir = Scratch(c.name);
    reliability::WriteFile(dir / "De_209.asc", c.bytes);
    ASSERT_TRUE(WriteTextures(dir));
    ProgramRun run(server, "strivex", dir);
    run.Start();
    ASSERT_TRUE(run.WaitUntilRunning()) << run.Console() << run.Errors();
    const std::string console = run.Console();
    const size_t load = console.find("Reading models... ");
    EXPECT_EQ(console.substr(load), c.loadLine);
    int status = -1;
    ASSERT_TRUE(run.Close(&status));
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(HasSanitizerReport(run.Errors())) << run.Errors();
  }
}

TEST_F(BadFiles, BrokenTexturesAreReportedAndTheViewerGoesOn) {
  reliability::WriteFile(directory / "De_209.asc", ThreeBoxScene());
  ASSERT_TRUE(WriteTextures(directory));
  fs::create_directory(directory / "images");
  const fs::path tex = directory / "tex";
  fs::remove(tex / "gray1.bmp");                  // missing: silent, the surfaces stay untextured
  reliability::WriteFile(tex / "gray2.bmp", "");  // empty
  fs::resize_file(tex / "blue1.bmp", 54 + 100);   // truncated inside its pixel rows
  std::string stars = e2e::ReadFile((tex / "stars2.bmp").string());
  stars[14] = 108;  // a header form we do not read
  reliability::WriteFile(tex / "stars2.bmp", stars);
  fs::remove(tex / "gray3.bmp");
  fs::create_directory(tex / "gray3.bmp");  // a directory in a picture's place

  ProgramRun run(server, "strivex", directory);
  run.Start();
  ASSERT_TRUE(run.WaitUntilRunning()) << run.Console() << run.Errors();
  // Textures load right after the scene; their messages come in the order of the slot table.
  ASSERT_TRUE(e2e::WaitFor([&] { return LinesStartingWith(run.Errors(), "Error: ").size() >= 4; }, 30.0))
      << run.Errors();
  const std::vector<std::string> expected = {
      "Error: Failed to open DIB file tex/gray2.bmp.\n", "Error: Image file conversion error.\n",
      "Error: Unknown DIB file format.\n", "Error: Failed to open DIB file tex/gray3.bmp.\n"};
  // The viewer goes on drawing and saving frames; the user closes the window in the middle of a
  // recording, and the last frame is whole all the same.
  const fs::path images = directory / "images";
  ASSERT_TRUE(run.Key("m"));
  ASSERT_TRUE(e2e::WaitFor([&] { return FrameFiles(images).size() >= 3; }, 60.0)) << run.Errors();
  int status = -1;
  ASSERT_TRUE(run.Close(&status));
  EXPECT_EQ(status, 0);
  int frames = 0;
  EXPECT_TRUE(WholeFramesWithoutGaps(images, &frames));
  EXPECT_EQ(WroteLines(run.Console()), frames);
  EXPECT_EQ(LinesStartingWith(run.Errors(), "Error: "), expected);
  EXPECT_FALSE(HasSanitizerReport(run.Errors())) << run.Errors();
}

TEST_F(BadFiles, ImagesDirectoryMissingThenReadOnlyWhileFramesAreSaved) {
  reliability::WriteFile(directory / "De_209.asc", ThreeBoxScene());
  ASSERT_TRUE(WriteTextures(directory));
  const fs::path images = directory / "images";
  ProgramRun run(server, "strivex", directory, /*unprivileged=*/true);
  run.Start();
  ASSERT_TRUE(run.WaitUntilRunning()) << run.Console() << run.Errors();
  auto failures = [&] { return LinesStartingWith(run.Errors(), "Frame not saved: "); };

  ASSERT_TRUE(run.Key("m"));
  ASSERT_TRUE(e2e::WaitFor([&] { return failures().size() == 1; }, 30.0)) << run.Errors();
  EXPECT_NE(failures()[0].find("cannot create images/image000.ppm (No such file or directory)"), std::string::npos)
      << failures()[0];
  // The user makes the directory: saving starts with the first number.
  fs::create_directory(images);
  if (run.DropsPrivileges()) {
    ASSERT_EQ(chown(images.c_str(), reliability::kNobodyUser, reliability::kNobodyGroup), 0);
  }
  ASSERT_TRUE(e2e::WaitFor([&] { return FrameFiles(images).size() >= 3; }, 30.0)) << run.Errors();
  // Read-only: frames are skipped with one more message, and none is half written.
  fs::permissions(images, fs::perms::owner_write, fs::perm_options::remove);
  ASSERT_TRUE(e2e::WaitFor([&] { return failures().size() == 2; }, 30.0)) << run.Errors();
  EXPECT_NE(failures()[1].find("(Permission denied)"), std::string::npos) << failures()[1];
  const size_t beforeWritable = FrameFiles(images).size();
  // Writable again: the numbers go on where they stopped.
  fs::permissions(images, fs::perms::owner_write, fs::perm_options::add);
  ASSERT_TRUE(e2e::WaitFor([&] { return FrameFiles(images).size() >= beforeWritable + 2; }, 30.0)) << run.Errors();
  ASSERT_TRUE(run.Key("d"));
  ASSERT_TRUE(WaitUntilQuiet(images));

  int frames = 0;
  EXPECT_TRUE(WholeFramesWithoutGaps(images, &frames));
  EXPECT_EQ(WroteLines(run.Console()), frames);
  int status = -1;
  ASSERT_TRUE(run.Close(&status));
  EXPECT_EQ(status, 0);
  EXPECT_EQ(failures().size(), 2u) << run.Errors();
  EXPECT_FALSE(HasSanitizerReport(run.Errors())) << run.Errors();
}

TEST_F(BadFiles, FullDiskWhileWritingAFrameLeavesNoPartialFile) {
  reliability::WriteFile(directory / "De_209.asc", ThreeBoxScene());
  ASSERT_TRUE(WriteTextures(directory));
  const fs::path images = directory / "images";
  fs::create_directory(images);
  // Room for one 750 053-byte frame, not for two.
  if (mount("tmpfs", images.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=1m,mode=0755") != 0) {
    GTEST_SKIP() << "cannot mount a small tmpfs to fill up (" << std::strerror(errno)
                 << "); this check needs root or CAP_SYS_ADMIN";
  }
  mounted = true;
  ProgramRun run(server, "strivex", directory);
  run.Start();
  ASSERT_TRUE(run.WaitUntilRunning()) << run.Console() << run.Errors();
  auto failures = [&] { return LinesStartingWith(run.Errors(), "Frame not saved: "); };

  ASSERT_TRUE(ManualRunUntil(run, images, [&] { return !failures().empty(); }));
  EXPECT_EQ(failures(),
            std::vector<std::string>{"Frame not saved: writing images/image001.ppm failed (No space left on "
                                     "device); the incomplete file was removed.\n"});
  EXPECT_EQ(FrameFiles(images), std::vector<std::string>{"image000.ppm"});
  // The user makes room: the next run goes on with image001 until the disk is full again.
  fs::remove(images / "image000.ppm");
  ASSERT_TRUE(ManualRunUntil(run, images, [&] { return failures().size() == 2; }));
  EXPECT_EQ(FrameFiles(images), std::vector<std::string>{"image001.ppm"});
  const std::string frame = e2e::ReadFile((images / "image001.ppm").string());
  EXPECT_EQ(frame.size(), kFrameHeader.size() + kFrameBytes);
  EXPECT_EQ(WroteLines(run.Console()), 2);
  int status = -1;
  ASSERT_TRUE(run.Close(&status));
  EXPECT_EQ(status, 0);
  EXPECT_FALSE(HasSanitizerReport(run.Errors())) << run.Errors();
}

}  // namespace
