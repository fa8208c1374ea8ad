// The real programs under Xvfb, as a user meets them. Each program goes through one session: manual
// mode on while every key and menu entry changes the render mode and the speed (the menu showing
// its "o " marks); the background set; an orbit drag; a second manual run whose images number on;
// the close. Then the sanitized program is given files that are missing, damaged or in the way.
// Every step is judged from the frames the program saves, its console and its exit status.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <array>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

#include "render/texture_set.h"
#include "support/bmp_writer.h"
#include "support/x_session.h"

namespace {

namespace fs = std::filesystem;

const std::string kSummary =
    " Controls done by mouse via menus, or:\n  1..3 - controls speed\n  q/w/e - Texture/Solid/Wireframe\n"
    " Controls only through keyboard:\n  m - and drop into manual mode (1/15sec advance per frame)\n"
    "      also saves into ppm files in the images/ subdirectory which must exist.\n"
    "  d - drop outof manual mode (get into by pressing 'm')\n  s - toggle background set\n"
    " Warning:  Very high density model, so on the higher speeds\n"
    "  a whole cycle will probably occur between redraws on most\n  video cards.\n";

// A box of twelve triangles around (x, y, z), every face normal pointing out of it.
std::string Box(const std::string& name, double x, double y, double z, const char* material) {
  static const char kFaces[] = "013032475467045051276237026064157173";
  std::ostringstream text;
  text << "Named object: \"" << name << "\"\nTri-mesh, Vertices: 8  Faces: 12\nVertex list:\n";
  for (int i = 0; i < 8; ++i) {
    text << "Vertex " << i << ":  X: " << x + (i & 4 ? 0.9 : -0.9) << " Y: " << y + (i & 2 ? 0.9 : -0.9)
         << " Z: " << z + (i & 1 ? 0.9 : -0.9) << "\n";
  }
  text << "Face list:\n";
  for (int f = 0; f < 12; ++f) {
    text << "Face " << f << ":    A:" << kFaces[3 * f] << " B:" << kFaces[3 * f + 1] << " C:" << kFaces[3 * f + 2]
         << "\nMaterial: \"" << material << "\"\n";
  }
  return text.str() + "\n";
}

// The scene, images/ and the textures: the robot's red; grass under a sky that changes along both
// axes; a grey floor under dark stars.
void WriteViewerFiles(const fs::path& directory, const std::string& scene) {
  fs::create_directories(directory / "tex");
  fs::create_directories(directory / "images");
  std::ofstream(directory / "De_209.asc", std::ios::binary) << scene;
  const Rgb colours[TextureSlotCount] = {{255, 0, 0}, {255, 0, 0}, {255, 0, 0}, {},           {},
                                         {},          {6, 6, 10},  {128, 128, 128}, {}, {30, 200, 30}};
  auto sky = [](int x, int y) {
    return Rgb{static_cast<unsigned char>(40 + 13 * x), static_cast<unsigned char>(40 + 13 * y), 255};
  };
  for (const TextureSlotFile& file : TextureSlotFiles) {
    WriteBmp24((directory / file.fileName).string(), 16, 16, file.slot == 8 ? +sky : nullptr, colours[file.slot]);
  }
}

// A saved frame: false unless it has the viewer's own header and exactly the raster it announces.
struct Frame {
  int width = 0, height = 0;
  std::string raster;  // RGB, top row first
  // Without `pixels` only the header and the file's size are read (sessions save many frames).
  bool Read(const std::string& path, bool pixels = true) {
    std::ifstream in(path, std::ios::binary);
    const char* format = "P6\n# CREATOR: glDumpWindowPPM() by Wexmoor\n%d %d\n255\n";
    char header[64] = {}, expected[64];
    in.read(header, sizeof header - 1);
    if (std::sscanf(header, format, &width, &height) != 2 || width * height <= 0) return false;
    const int length = std::snprintf(expected, sizeof expected, format, width, height);
    std::error_code error;
    raster.assign(size_t(width * height * 3) * pixels, '\0');
    return std::memcmp(header, expected, size_t(length)) == 0 &&
           fs::file_size(path, error) == uintmax_t(length + width * height * 3) &&
           in.seekg(length).read(&raster[0], static_cast<std::streamsize>(raster.size()));
  }
  // Mean red, green and blue of a rectangle.
  std::array<double, 3> Mean(int left, int top, int right, int bottom) const {
    std::array<double, 3> mean{};
    const int w = right - left, n = w * (bottom - top);
    for (int i = 0; i < n * 3; ++i) {
      const size_t at = size_t(((top + i / 3 / w) * width + left + i / 3 % w) * 3 + i % 3);
      mean[i % 3] += static_cast<unsigned char>(raster[at]) / double(n);
    }
    return mean;
  }
  std::array<double, 3> Ground() const { return Mean(0, height * 7 / 8, width, height); }
  // The top eighth shows only sky in every view used here, and the sky lies still whatever the time.
  std::string Sky() const { return raster.substr(0, raster.size() / 8); }
  // The box fills the middle of the view: its red texture, its grey paint, or in wireframe the grass
  // seen through it.
  std::string Mode() const {
    const int x = width / 2, y = height / 2, d = width / 32;
    const auto [r, g, b] = Mean(x - d, y - d, x + d, y + d);
    if (r > 100 && g < 60 && b < 60) return "Textured";
    if (g > r + 40) return "Wireframe";
    const std::string seen = "unclear " + std::to_string(r) + " " + std::to_string(g) + " " + std::to_string(b);
    return std::fabs(r - g) < 8 && std::fabs(g - b) < 8 && r > 50 ? "Solid" : seen;
  }
};

std::string FrameName(int n) {
  char name[32];
  std::snprintf(name, sizeof name, "/images/image%03d.ppm", n);
  return name;
}

int Wrote(const std::string& console) { return static_cast<int>(LinesStartingWith(console, {"Wrote "}).size()); }

// The console after the summary: the load line, then one line per saved frame; false unless every
// file in images/ is a whole frame, numbered from 0 without a gap, with its line.
::testing::AssertionResult ConsoleAndFrames(XSession& x, const std::string& directory, const std::string& loadLine) {
  std::string expected = kSummary + loadLine, bad;
  std::error_code error;
  const auto files = std::distance(fs::directory_iterator(directory + "/images", error), fs::directory_iterator());
  for (int n = 0; n < files; ++n) {
    Frame f;
    if (!f.Read(directory + FrameName(n), false)) bad += FrameName(n) + " is missing or not whole; ";
    expected += "Wrote " + std::to_string(f.width) + " x " + std::to_string(f.height) + " pixels image to file (" +
                std::to_string(f.width * f.height * 3) + " bytes)\n";
  }
  if (bad.empty() && x.Console() == expected) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << bad << files << " files; console:\n" << x.Console();
}

// Which of the six menu entries carry the "o " mark ("o" or "-"): labels are dark on the light
// menu, the mark is the dark "o" in its left sixth. Empty while the menu is not painted yet.
std::string ReadMarks(const std::vector<unsigned long>& pixels, int w, int h) {
  auto dark = [&](int x, int y) {
    const unsigned long p = pixels[static_cast<size_t>(y * w + x)];
    return (p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF) < 200;
  };
  int darkPixels = 0;
  for (int i = 0; i < w * h && pixels.size() == static_cast<size_t>(w * h); ++i) darkPixels += dark(i % w, i / w);
  std::string marks;
  for (int entry = 0; entry < 6 && darkPixels > 0 && darkPixels * 4 < w * h; ++entry) {
    int label = 0, mark = 0;
    for (int y = entry * h / 6 + 2; y < (entry + 1) * h / 6 - 2; ++y) {
      for (int x = 3; x < w / 6; ++x) mark += dark(x, y);
      for (int x = w / 6 + 2; x < w - 3; ++x) label += dark(x, y);
    }
    if (label < 10) return "";
    marks += mark >= 6 ? "o" : "-";
  }
  return marks;
}

class Viewer : public testing::Test {
 protected:
  // A frame drawn after everything sent so far: two saves on (the next may show a frame drawn
  // before the input arrived).
  bool Next(Frame* frame) {
    const int n = Wrote(x.Console()) + 2;
    return WaitFor([&] { return Wrote(x.Console()) > n; }, 20 * x.patience) &&
           frame->Read(scratch.Path() + FrameName(n));
  }
  // d, then wait until no image came for several frames' time (a poll every 20 ms).
  bool LeaveManualMode() {
    int last = -1, quiet = 0;
    return x.Key("d") && WaitFor([&] {
      quiet = Wrote(x.Console()) == last ? quiet + 1 : 0;
      last = Wrote(x.Console());
      return quiet > 15 * x.patience;
    }, 30 * x.patience);
  }
  // Pops the menu up at the window's middle, reads its marks, releases the button over `entry`.
  std::string MenuChoice(int entry) {
    int mx = 0, my = 0, mw = 0, mh = 0, nudge = 0;
    std::string marks;
    // The toolkit paints the menu when the pointer moves over it.
    auto moveTo = [&](int y) {
      return x.Xdotool({"mousemove", std::to_string(mx + mw / 2 + nudge % 2), std::to_string(y)});
    };
    const bool read = x.Pointer(x.width / 2, x.height / 2) && x.Xdotool({"mousedown", "3"}) && WaitFor([&] {
      if (!x.Shown("freeglut menu", &mx, &my, &mw, &mh)) return false;
      marks = ReadMarks(x.Grab(mx, my, mw, mh), mw, mh);
      return !marks.empty() || (++nudge, moveTo(my + mh / 12), false);
    }, 10 * x.patience);
    const bool chosen = moveTo(my + (2 * entry - 1) * mh / 12) && x.Xdotool({"mouseup", "3"}) &&
                        WaitFor([&] { return !x.Shown("freeglut menu", &mx, &my, &mw, &mh); }, 10 * x.patience);
    return read && chosen && x.Pointer(x.width / 2, x.height / 2) ? marks : "menu failed: " + marks;
  }

  void Session(const std::vector<std::string>& command, double patience) {
    std::string scene;
    for (int i = 0; i < 5; ++i) {
      scene += "Named object: \"E" + std::to_string(i) + "\"\nTri-mesh, Vertices: 0  Faces: 0\nVertex list:\n\n";
    }
    // In slot 5 the box moves only with the body's small bob, at the point the camera looks at.
    WriteViewerFiles(scratch.Path(), scene + Box("Box", -2, 2, 3, "CHLNGER CHROME"));
    ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
    x.Launch(command, scratch.Path(), patience);
    ASSERT_TRUE(x.WaitRunning()) << x.Console() << x.Errors();
    Frame first, f;
    ASSERT_TRUE(x.Key("m") && Next(&first)) << x.Errors();
    EXPECT_EQ(first.Mode(), "Textured");
    EXPECT_GT(first.Mean(0, 0, first.width, first.height / 8)[2], 100) << "no sky";
    EXPECT_GT(first.Ground()[1] - first.Ground()[0], 60) << "no grass";

    // Marks: Textures, Solid, Wireframe, Slow, Medium, Fast. "#n" is menu entry n.
    const struct {
      const char *input, *mode, *marksBefore;
    } steps[] = {{"#6", "Textured", "o---o-"}, {"1", "Textured", ""},         {"#1", "Solid", "o--o--"},
                 {"3", "Solid", ""},           {"#3", "Wireframe", "-o---o"}, {"#2", "Solid", "--o--o"},
                 {"#2", "Textured", "-o---o"}, {"2", "Textured", ""},         {"w", "Solid", ""},
                 {"e", "Wireframe", ""},       {"e", "Solid", ""},            {"e", "Wireframe", ""},
                 {"w", "Solid", ""},           {"w", "Textured", ""},         {"q", "Solid", ""},
                 {"#4", "Solid", "-o--o-"},    {"q", "Textured", ""},         {"#5", "Textured", "o--o--"},
                 {"e", "Wireframe", ""},       {"q", "Textured", ""}};
    for (const auto& step : steps) {
      SCOPED_TRACE(step.input);
      const bool menu = step.input[0] == '#';
      EXPECT_EQ(menu ? MenuChoice(step.input[1] - '0') : x.Key(step.input) ? "" : "no key", step.marksBefore);
      ASSERT_TRUE(Next(&f)) << x.Errors();
      EXPECT_EQ(f.Mode(), step.mode);
    }
    ASSERT_TRUE(x.Key("s") && Next(&f));
    EXPECT_LT(f.Mean(0, 0, f.width, f.height / 8)[2], 20) << "no stars";
    EXPECT_TRUE(std::fabs(f.Ground()[0] - f.Ground()[1]) < 8 && f.Ground()[1] > 40) << "no grey floor";
    EXPECT_EQ(f.Mode(), "Textured");
    ASSERT_TRUE(x.Key("s") && Next(&f));
    EXPECT_TRUE(f.Sky() == first.Sky()) << "the first sky did not come back";

    // A drag turns the view from the press point and gives it back at the press point; the release
    // ends it.
    const int cx = x.width / 2, cy = x.height / 2;
    ASSERT_TRUE(x.Xdotool({"mousedown", "1"}) && x.Pointer(cx + 20, cy - 10) && Next(&f));
    EXPECT_FALSE(f.Sky() == first.Sky()) << "dragging did not turn the view";
    ASSERT_TRUE(x.Pointer(cx, cy) && x.Xdotool({"mouseup", "1"}) && x.Pointer(cx + 60, cy - 20) && Next(&f));
    EXPECT_TRUE(f.Sky() == first.Sky()) << "the view did not come back, or turned without a button";
    ASSERT_TRUE(x.Pointer(cx, cy) && LeaveManualMode());

    // A second run numbers on; its first image is the frame shown when m was pressed.
    const int firstRun = Wrote(x.Console());
    ASSERT_TRUE(x.Key("m") && WaitFor([&] { return Wrote(x.Console()) >= firstRun + 3; }, 30 * patience));
    ASSERT_TRUE(LeaveManualMode() && f.Read(scratch.Path() + FrameName(firstRun)));
    EXPECT_TRUE(f.Sky() == first.Sky());
    EXPECT_TRUE(ConsoleAndFrames(x, scratch.Path(), "Reading models...  0:E0;  1:E1;  2:E2;  3:E3;  4:E4;  5:Box; \n"));
    EXPECT_EQ(x.Close(), 0);
    EXPECT_FALSE(HasSanitizerReport(x.Errors())) << x.Errors();
  }

  ScratchDir scratch;
  XSession x;
};

TEST_F(Viewer, OptimisedProgramThroughAWholeSession) {
  Session({STRIVEX_BINARY_DIR "/strivex-release", "-geometry", "160x160"}, 1.0);
}

TEST_F(Viewer, SanitizedProgramThroughAWholeSessionWithLeakChecking) {
  Session({STRIVEX_BINARY_DIR "/strivex", "-geometry", "160x160"}, 4.0);
}

// scripts/memcheck.sh: the same session under a checker. STRIVEX_MEMORY_RUN_COMMAND is the command
// line (words separated by blanks), STRIVEX_MEMORY_RUN_PATIENCE scales the waits (default 30).
TEST_F(Viewer, DISABLED_CommandFromTheEnvironment) {
  std::istringstream words(std::getenv("STRIVEX_MEMORY_RUN_COMMAND") ? std::getenv("STRIVEX_MEMORY_RUN_COMMAND") : "");
  const char* patience = std::getenv("STRIVEX_MEMORY_RUN_PATIENCE");
  Session({std::istream_iterator<std::string>(words), {}}, patience ? std::atof(patience) : 30.0);
}

// --- Files that are missing, damaged or in the way -------------------------------------------

const char* const kScene = "De_209.asc";
const std::string kCannotOpen = "cannot open De_209.asc in @: ";
const std::string kRunFrom = "; run the viewer from the directory that holds the scene, such as build/\n";
const std::string kNoImage = "Frame not saved: cannot create images/image";
const std::string kMustExist = ". The images/ directory must exist; frames are not saved until it can be written.\n";
const std::string kLoaded = "Reading models...  0:A;  1:B; \n";

bool Write(const fs::path& path, const std::string& bytes) {
  return !!(std::ofstream(path, std::ios::binary) << bytes);
}

// The user makes the missing images/ while recording: saving starts at the first number. Then
// read-only for a while: one more line, another in a new manual run, and the numbers go on where
// they stopped.
std::vector<std::string> MakeImagesThenReadOnly(XSession& x, const fs::path& d) {
  const auto failures = [&] { return LinesStartingWith(x.Errors(), {"Frame not saved"}).size(); };
  EXPECT_TRUE(WaitFor([&] { return failures() == 1; }, 30 * x.patience));
  fs::create_directory(d / "images");
  EXPECT_TRUE(geteuid() != 0 || chown((d / "images").c_str(), 65534, 65534) == 0);
  EXPECT_TRUE(WaitFor([&] { return Wrote(x.Console()) >= 3; }, 30 * x.patience)) << x.Errors();
  chmod((d / "images").c_str(), 0555);
  EXPECT_TRUE(WaitFor([&] { return failures() == 2; }, 30 * x.patience)) << x.Errors();
  EXPECT_TRUE(x.Key("d") && x.Key("m") && WaitFor([&] { return failures() == 3; }, 30 * x.patience)) << x.Errors();
  const int stopped = Wrote(x.Console());
  chmod((d / "images").c_str(), 0755);
  EXPECT_TRUE(WaitFor([&] { return Wrote(x.Console()) >= stopped + 2; }, 30 * x.patience)) << x.Errors();
  char number[16];
  std::snprintf(number, sizeof number, "%03d", stopped);
  return std::vector<std::string>(2, kNoImage + number + ".ppm (Permission denied)" + kMustExist);
}

struct Case {
  const char* name;
  std::function<bool(const fs::path&)> setup;  // false: the case could not be made
  int status;                                  // -1: the window opens, the user records and closes it
  std::string console;                         // after the summary
  std::vector<std::string> errors;             // "@" stands for the run's directory
  // What the user does while recording; returns the error lines it brings.
  std::vector<std::string> (*whileRecording)(XSession&, const fs::path&) = nullptr;
  bool mounts = false;  // its setup mounts a file system, which only root may do
};

const Case kCases[] = {
    {"scene missing", [](const fs::path& d) { return fs::remove(d / kScene); }, 2, "Error opening file!\n",
     {kCannotOpen + "No such file or directory" + kRunFrom}},
    {"scene is a directory",
     [](const fs::path& d) { return fs::remove(d / kScene) && fs::create_directory(d / kScene); }, 2,
     "Error opening file!\n", {kCannotOpen + "Is a directory" + kRunFrom}},
    // A process's own memory opens as a file, and reading it at offset 0 fails.
    {"scene opens but cannot be read",
     [](const fs::path& d) { return fs::remove(d / kScene) && !symlink("/proc/self/mem", (d / kScene).c_str()); },
     2, "Reading models... Error reading file!\n", {}},
    {"bad header",
     [](const fs::path& d) { return Write(d / kScene, "Named object: \"H\"\n Tri-mesh, Vertices: 3  Faces: 1\n"); },
     3, "Reading models... Error reading header of object 0Error when reading object #0!\n", {}},
    {"broken textures", [](const fs::path& d) {
       std::string stars = ReadWholeFile((d / "tex/stars2.bmp").string());
       stars[14] = 108;  // a header form we do not read
       fs::resize_file(d / "tex/blue1.bmp", 54 + 100);
       return Write(d / "tex/stars2.bmp", stars) && Write(d / "tex/gray2.bmp", "") && fs::remove(d / "tex/gray1.bmp") &&
              fs::remove(d / "tex/gray3.bmp") && fs::create_directory(d / "tex/gray3.bmp");
     }, -1, kLoaded, {"Error: Failed to open DIB file tex/gray2.bmp.\n", "Error: Image file conversion error.\n",
                      "Error: Unknown DIB file format.\n", "Error: Failed to open DIB file tex/gray3.bmp.\n"}},
    {"images/ missing, then read-only", [](const fs::path& d) { return fs::remove(d / "images"); }, -1, kLoaded,
     {kNoImage + "000.ppm (No such file or directory)" + kMustExist}, MakeImagesThenReadOnly},
    // Room for one 750 053-byte frame, not for two.
    {"disk full in the middle of a frame",
     [](const fs::path& d) { return !mount("tmpfs", (d / "images").c_str(), "tmpfs", MS_NODEV, "size=1m"); }, -1,
     kLoaded, {"Frame not saved: writing images/image001.ppm failed (No space left on device); the incomplete file was "
               "removed.\n"}, nullptr, true},
};

void PrintTo(const Case& c, std::ostream* out) { *out << '"' << c.name << '"'; }

// One test per case, named after it ("disk full in the middle of a frame": DiskFullInTheMiddleOfAFrame).
std::string CaseName(const testing::TestParamInfo<Case>& info) {
  std::string name;
  for (const char* c = info.param.name; *c; ++c) {
    if (std::isalnum(static_cast<unsigned char>(*c))) {
      name += c == info.param.name || c[-1] == ' ' ? static_cast<char>(std::toupper(static_cast<unsigned char>(*c))) : *c;
    }
  }
  return name;
}

class BadFiles : public testing::TestWithParam<Case> {};

TEST_P(BadFiles, WhatTheUserGets) {
  const Case& c = GetParam();
  ScratchDir scratch;
  const std::string& d = scratch.Path();
  WriteViewerFiles(d, Box("A", -3, 2, 3, "CHLNGER CHROME") + Box("B", -1, 2, 3, "DEFAULT"));
  errno = 0;
  if (!c.setup(d)) {
    if (c.mounts) GTEST_SKIP() << "this machine cannot mount a small file system here (" << std::strerror(errno) << ")";
    FAIL() << "the case could not be made: " << std::strerror(errno);
  }
  const struct Unmount {
    std::string images;
    bool mounted;
    ~Unmount() {
      if (mounted) umount2(images.c_str(), MNT_DETACH);
    }
  } unmount{d + "/images", c.mounts};
  XSession x;
  ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
  std::vector<std::string> errors;
  for (std::string line : c.errors) {
    errors.push_back(line.find('@') > line.size() ? line : line.replace(line.find('@'), 1, d));
  }
  x.Launch({STRIVEX_BINARY_DIR "/strivex"}, d, 4.0);
  if (c.status >= 0) {
    EXPECT_EQ(x.WaitExit(), c.status);
    EXPECT_EQ(x.Console(), kSummary + c.console);
  } else {
    ASSERT_TRUE(x.WaitRunning() && x.Key("m")) << x.Console() << x.Errors();
    const std::vector<std::string> more = c.whileRecording ? c.whileRecording(x, d) : std::vector<std::string>{};
    errors.insert(errors.end(), more.begin(), more.end());
    EXPECT_TRUE(WaitFor([&] {
      return Wrote(x.Console()) >= 1 && LinesStartingWith(x.Errors(), {"Error", "Frame"}).size() >= errors.size();
    }, 30 * x.patience)) << x.Errors();
    EXPECT_EQ(x.Close(), 0);
    EXPECT_TRUE(ConsoleAndFrames(x, d, c.console));
  }
  EXPECT_EQ(LinesStartingWith(x.Errors(), {"cannot open", "Error", "Frame not saved"}), errors);
  EXPECT_FALSE(HasSanitizerReport(x.Errors())) << x.Errors();
}

INSTANTIATE_TEST_SUITE_P(EachFile, BadFiles, testing::ValuesIn(kCases), CaseName);

}  // namespace
