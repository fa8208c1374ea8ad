// One run of a real viewer program under Xvfb, driven as a user drives it: keys with the pointer
// over the window (without a window manager the keyboard focus follows the pointer), the
// right-button pop-up menu (press, move to an entry, release), left-button drags, and manual
// mode to obtain the frames the user would see, read back from the images/ directory.
// The scratch directory gets the test scene, the seven textures and an empty images/ directory.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "e2e/scene_files.h"
#include "e2e/x_session.h"

namespace e2e {

namespace fs = std::filesystem;

// The scene's boxes. Slots 0 to 4 are empty objects so that the boxes land in slots 5 to 7: the
// part that carries them moves only with the body's small bob, which keeps them in place while
// the checks sample their middles.
struct SceneBox {
  const char* name;
  Point3 centre, half;
  const char* material;
};

inline constexpr SceneBox kChromeBox{"Chrome", {-3.3, 2.0, 3.0}, {0.9, 0.9, 0.9}, "CHLNGER CHROME"};
inline constexpr SceneBox kHoodBox{"Hood", {-0.7, 2.0, 3.0}, {0.9, 0.9, 0.9}, "BLACK ROBO HOOD"};
inline constexpr SceneBox kPlainBox{"Plain", {-2.0, 2.0, 1.3}, {0.5, 0.5, 0.5}, "DEFAULT"};

// Middle of the face that looks at the starting camera (the face towards -y).
inline WindowPoint FrontFaceMiddle(const SceneBox& box) {
  return ProjectToWindow({box.centre.x, box.centre.y - box.half.y, box.centre.z}, 180.0, 20.0);
}

// Rows that show only sky, and only ground, in every view the tests use.
constexpr int kSkyFirstRow = 0, kSkyLastRow = 59;
constexpr int kGroundFirstRow = 440, kGroundLastRow = 499;

// The menu as the user sees it when it pops up: which of its six entries carry the "o " mark.
struct MenuMarks {
  std::array<bool, 6> marked{};
  bool operator==(const MenuMarks&) const = default;
};

inline std::string Describe(const MenuMarks& marks) {
  static const char* const kLabels[6] = {"Textures", "Solid", "Wireframe", "Slow", "Medium", "Fast"};
  std::string text;
  for (int i = 0; i < 6; ++i) text += std::string(marks.marked[i] ? "o " : "  ") + kLabels[i] + "; ";
  return text;
}

// How gtest shows marks in a failed comparison.
inline void PrintTo(const MenuMarks& marks, std::ostream* out) { *out << Describe(marks); }

inline MenuMarks Marks(bool textures, bool solid, bool wireframe, bool slow, bool medium, bool fast) {
  return MenuMarks{{textures, solid, wireframe, slow, medium, fast}};
}

class ViewerSession {
 public:
  // Longer waits for the sanitized program, which draws and saves several times slower.
  ViewerSession(XvfbServer* server, std::string program, fs::path directory)
      : server(server), program(std::move(program)), directory(std::move(directory)),
        patience(this->program == "strivex" ? 4.0 : 1.0) {}

  ~ViewerSession() {
    if (pid > 0 && !ended) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }

  // Writes the scene, the textures and images/.
  static bool PrepareDirectory(const fs::path& directory) {
    fs::remove_all(directory);
    fs::create_directories(directory / "tex");
    fs::create_directories(directory / "images");
    std::string scene;
    for (int i = 0; i < 5; ++i) scene += EmptyObjectText("Empty" + std::to_string(i));
    for (const SceneBox& box : {kChromeBox, kHoodBox, kPlainBox}) {
      scene += BoxObjectText(box.name, box.centre, box.half, box.material);
    }
    std::ofstream(directory / "De_209.asc", std::ios::binary) << scene;
    auto uniform = [](Rgb8 c) { return [c](int, int) { return c; }; };
    const std::string tex = (directory / "tex").string() + "/";
    // The sky changes along both texture axes, so turning or tilting the camera changes the sky.
    return WriteBmp24(tex + "sky1.bmp", 16, 16,
                      [](int x, int y) { return Rgb8{static_cast<uint8_t>(40 + 13 * x), static_cast<uint8_t>(40 + 13 * y), 255}; }) &&
           WriteBmp24(tex + "stars2.bmp", 16, 16, uniform({6, 6, 10})) &&
           WriteBmp24(tex + "grass.bmp", 16, 16, uniform({30, 200, 30})) &&
           WriteBmp24(tex + "gray3.bmp", 16, 16, uniform({128, 128, 128})) &&
           WriteBmp24(tex + "gray1.bmp", 16, 16, uniform({255, 255, 0})) &&
           WriteBmp24(tex + "gray2.bmp", 16, 16, uniform({255, 0, 0})) &&
           WriteBmp24(tex + "blue1.bmp", 16, 16, uniform({0, 0, 255}));
  }

  // Starts the program, waits for its window and for the scene to be loaded, and puts the
  // pointer over the window's middle.
  ::testing::AssertionResult Start() {
    std::vector<std::string> environment = {"DISPLAY=" + server->display};
    // The test runner may switch leak checking off for itself; the program gets it back.
    if (program == "strivex") environment.push_back("ASAN_OPTIONS=detect_leaks=1:abort_on_error=0");
    pid = Spawn({std::string(STRIVEX_BINARY_DIR) + "/" + program}, directory.string(), environment,
                (directory / "stdout.txt").string(), (directory / "stderr.txt").string());
    window = server->FindWindow("Ambulon", 30.0 * patience);
    if (window == 0) return ::testing::AssertionFailure() << "no window \"Ambulon\"\n" << Console() << Errors();
    const std::string loaded = "Reading models...  0:Empty0;  1:Empty1;  2:Empty2;  3:Empty3;  4:Empty4;  5:Chrome;  6:Hood;  7:Plain; \n";
    if (!WaitFor([&] { return Console().find(loaded) != std::string::npos; }, 10.0 * patience)) {
      return ::testing::AssertionFailure() << "scene not loaded:\n" << Console() << Errors();
    }
    if (!PointerTo(kMiddle, kMiddle)) return ::testing::AssertionFailure() << "xdotool mousemove failed";
    return ::testing::AssertionSuccess();
  }

  // --- Input ---------------------------------------------------------------------------------

  bool Key(const std::string& keysym) { return server->Xdotool({"key", keysym}); }

  bool PointerTo(int x, int y) {
    return server->Xdotool({"mousemove", "--window", std::to_string(window), std::to_string(x), std::to_string(y)});
  }
  bool MovePointerOnScreen(int x, int y) { return server->Xdotool({"mousemove", std::to_string(x), std::to_string(y)}); }
  bool LeftPress(int x, int y) { return PointerTo(x, y) && server->Xdotool({"mousedown", "1"}); }
  bool LeftRelease() { return server->Xdotool({"mouseup", "1"}); }

  // Pops the menu up at the window's middle and reads its marks; the menu stays open until
  // ChooseMenuEntry or DismissMenu.
  ::testing::AssertionResult OpenMenu(MenuMarks* marks) {
    if (!PointerTo(kMiddle, kMiddle) || !server->Xdotool({"mousedown", "3"})) {
      return ::testing::AssertionFailure() << "xdotool failed to press the right button";
    }
    menuWindow = server->FindWindow("freeglut menu", 10.0 * patience);
    if (menuWindow == 0) return ::testing::AssertionFailure() << "no pop-up menu window";
    // The toolkit paints the menu when the pointer moves over it; nudge the pointer inside the
    // top entry until all six labels can be read.
    int nudge = 0;
    const bool shown = WaitFor(
        [&] {
          if (ReadMenu(marks)) return true;
          if (MenuShown()) MovePointerOnScreen(menuX + menuWidth / 2 + (++nudge % 2), menuY + menuHeight / 12);
          return false;
        },
        10.0 * patience);
    if (!shown) return ::testing::AssertionFailure() << "the pop-up menu did not show six entries";
    return ::testing::AssertionSuccess();
  }

  // Moves to entry `position` (1 to 6) of the open menu and releases the button there.
  bool ChooseMenuEntry(int position) {
    const int y = menuY + (2 * position - 1) * menuHeight / 12;
    return MovePointerOnScreen(menuX + menuWidth / 2, y) && server->Xdotool({"mouseup", "3"}) &&
           WaitFor([&] { return !MenuShown(); }, 10.0 * patience) && PointerTo(kMiddle, kMiddle);
  }

  // Closes the open menu without a choice: a release outside it leaves it open, a click outside
  // it closes it.
  bool DismissMenu() {
    const bool released = PointerTo(20, 480) && server->Xdotool({"mouseup", "3"});
    return released && server->Xdotool({"click", "1"}) && WaitFor([&] { return !MenuShown(); }, 10.0 * patience) &&
           PointerTo(kMiddle, kMiddle);
  }

  // Opens the menu, chooses an entry, and reports the marks the menu showed before the choice.
  ::testing::AssertionResult MenuChoice(int position, MenuMarks* shownBefore = nullptr) {
    MenuMarks marks;
    ::testing::AssertionResult opened = OpenMenu(&marks);
    if (!opened) return opened;
    if (shownBefore) *shownBefore = marks;
    if (!ChooseMenuEntry(position)) return ::testing::AssertionFailure() << "choosing menu entry " << position << " failed";
    return ::testing::AssertionSuccess();
  }

  // The marks the menu shows now, without choosing anything.
  ::testing::AssertionResult CurrentMarks(MenuMarks* marks) {
    ::testing::AssertionResult opened = OpenMenu(marks);
    if (!opened) return opened;
    if (!DismissMenu()) return ::testing::AssertionFailure() << "the menu did not close";
    return ::testing::AssertionSuccess();
  }

  // --- Frames --------------------------------------------------------------------------------

  // A manual run: m, at least three more saved images, d, and the saving has stopped. Returns the
  // number of the last image saved, which shows a frame drawn entirely after everything sent
  // before the m (-1 on failure).
  int ManualRun() {
    const int before = ImageCount();
    if (!Key("m")) return -1;
    if (!WaitFor([&] { return ImageCount() >= before + 3; }, 15.0 * patience)) {
      ADD_FAILURE() << "manual mode saved " << ImageCount() - before << " images\n" << Errors();
      return -1;
    }
    if (!Key("d") || !WaitUntilSavingStops()) return -1;
    return ImageCount() - 1;
  }

  // The frame saved as image number n.
  ::testing::AssertionResult LoadFrame(int n, Frame* frame) {
    std::string why;
    if (n < 0) return ::testing::AssertionFailure() << "no image";
    if (!ParseFrame(ReadFile(ImagePath(n)), frame, &why)) return ::testing::AssertionFailure() << ImagePath(n) << ": " << why;
    return ::testing::AssertionSuccess();
  }

  // Manual run and its last frame in one.
  ::testing::AssertionResult CaptureFrame(Frame* frame) { return LoadFrame(ManualRun(), frame); }

  std::string ImagePath(int n) const {
    char name[32];
    std::snprintf(name, sizeof name, "image%03d.ppm", n);
    return (directory / "images" / name).string();
  }

  int ImageCount() const {
    int count = 0;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(directory / "images", error)) {
      if (entry.path().extension() == ".ppm") ++count;
    }
    return count;
  }

  int WroteLineCount() const {
    const std::string console = Console();
    const std::string line = "Wrote 500 x 500 pixels image to file (750000 bytes)\n";
    int count = 0;
    for (size_t at = console.find(line); at != std::string::npos; at = console.find(line, at + line.size())) ++count;
    return count;
  }

  // Saving has stopped when every image has its console line and no new one came for a while.
  bool WaitUntilSavingStops() {
    int last = -1;
    auto quietSince = std::chrono::steady_clock::now();
    return WaitFor(
        [&] {
          const int count = ImageCount();
          const auto now = std::chrono::steady_clock::now();
          if (count != last || WroteLineCount() != count) {
            last = count;
            quietSince = now;
            return false;
          }
          // Several frames' time, also for the slower sanitized program.
          return now - quietSince > std::chrono::milliseconds(program == "strivex" ? 400 : 200);
        },
        15.0 * patience);
  }

  // --- End -----------------------------------------------------------------------------------

  // Closes the window as a window manager would; the program must end with status 0.
  ::testing::AssertionResult CloseAndWait(int* status) {
    server->RequestClose(window);
    if (!WaitExit(pid, 30.0 * patience, status)) return ::testing::AssertionFailure() << "still running after the close request";
    ended = true;
    return ::testing::AssertionSuccess();
  }

  std::string Console() const { return ReadFile((directory / "stdout.txt").string()); }
  std::string Errors() const { return ReadFile((directory / "stderr.txt").string()); }

  static constexpr int kMiddle = 250;

 private:
  bool MenuShown() {
    int width = 0, height = 0;
    bool viewable = false;
    return server->ScreenGeometry(menuWindow, &menuX, &menuY, &width, &height, &viewable) && viewable;
  }

  // Reads the six entries of the shown menu: an entry's label text is dark on a light menu, and
  // its mark is the dark "o" left of the label.
  bool ReadMenu(MenuMarks* marks) {
    bool viewable = false;
    if (!server->ScreenGeometry(menuWindow, &menuX, &menuY, &menuWidth, &menuHeight, &viewable) || !viewable) return false;
    std::vector<unsigned char> rgb;
    if (!server->GrabScreen(menuX, menuY, menuWidth, menuHeight, &rgb)) return false;
    auto dark = [&](int x, int y) {
      const unsigned char* p = rgb.data() + (static_cast<size_t>(y) * static_cast<size_t>(menuWidth) + static_cast<size_t>(x)) * 3;
      return p[0] + p[1] + p[2] < 200;
    };
    // A menu mapped but not yet drawn is dark all over.
    int darkPixels = 0;
    for (int y = 0; y < menuHeight; ++y) {
      for (int x = 0; x < menuWidth; ++x) darkPixels += dark(x, y);
    }
    if (darkPixels * 4 > menuWidth * menuHeight) return false;
    // The mark's column is the left sixth of the menu; the label lies right of it.
    const int markEnd = menuWidth / 6;
    for (int entry = 0; entry < 6; ++entry) {
      const int top = entry * menuHeight / 6, bottom = (entry + 1) * menuHeight / 6;
      int labelPixels = 0, markPixels = 0;
      for (int y = top + 2; y < bottom - 2; ++y) {
        for (int x = 3; x < markEnd; ++x) markPixels += dark(x, y);
        for (int x = markEnd + 2; x < menuWidth - 3; ++x) labelPixels += dark(x, y);
      }
      if (labelPixels < 10) return false;
      marks->marked[static_cast<size_t>(entry)] = markPixels >= 6;
    }
    return true;
  }

  XvfbServer* server;
  std::string program;
  fs::path directory;
  double patience;
  pid_t pid = -1;
  bool ended = false;
  Window window = 0;
  Window menuWindow = 0;
  int menuX = 0, menuY = 0, menuWidth = 0, menuHeight = 0;
};

}  // namespace e2e
