// Running the real programs under Xvfb: a private X server, a program started in a scratch
// directory with its console captured, its window found by title, closed as a window manager
// would (WM_DELETE_WINDOW), xdotool to drive it, and screen grabs of what is mapped (the
// toolkit's pop-up menu). Every wait is bounded.
#pragma once

#include <X11/Xlib.h>
#include <gtest/gtest.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace e2e {

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

template <typename Condition>
bool WaitFor(Condition condition, double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return condition();
}

// Spawns argv with the given working directory, extra environment and output files.
inline pid_t Spawn(const std::vector<std::string>& argv, const std::string& directory,
                   const std::vector<std::string>& extraEnvironment, const std::string& outPath,
                   const std::string& errPath) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  if (!directory.empty() && chdir(directory.c_str()) != 0) _exit(127);
  for (const std::string& e : extraEnvironment) putenv(const_cast<char*>(e.c_str()));
  if (!outPath.empty() && !freopen(outPath.c_str(), "w", stdout)) _exit(127);
  if (!errPath.empty() && !freopen(errPath.c_str(), "w", stderr)) _exit(127);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

// Waits for a child; returns false on time-out. *status is the exit status, or 128 + signal.
inline bool WaitExit(pid_t pid, double seconds, int* status) {
  int raw = 0;
  const bool ended = WaitFor([&] { return waitpid(pid, &raw, WNOHANG) == pid; }, seconds);
  if (!ended) return false;
  *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
  return true;
}

class XvfbServer {
 public:
  bool Start() {
    for (int n = 60 + getpid() % 30; n < 120; ++n) {
      const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
      const std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
      struct stat info {};
      if (stat(socket.c_str(), &info) == 0 || stat(lock.c_str(), &info) == 0) continue;
      display = ":" + std::to_string(n);
      pid = Spawn({"Xvfb", display, "-screen", "0", "800x600x24", "-nolisten", "tcp"}, "", {}, "/dev/null",
                  "/dev/null");
      if (WaitFor([&] { return stat(socket.c_str(), &info) == 0; }, 10.0)) {
        connection = WaitForConnection();
        if (connection) {
          // A window that vanishes between a search and a query (the program ending, a menu
          // closing) must fail that query, not end the test program.
          XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
          return true;
        }
      }
      Stop();
    }
    return false;
  }

  void Stop() {
    if (connection) XCloseDisplay(connection);
    connection = nullptr;
    if (pid > 0) {
      kill(pid, SIGTERM);
      int status = 0;
      if (!WaitExit(pid, 5.0, &status)) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
    }
    pid = -1;
  }

  ~XvfbServer() { Stop(); }

  // The top-level window whose name is `title`, or 0 after the time-out.
  Window FindWindow(const char* title, double seconds) {
    Window found = 0;
    WaitFor([&] { return (found = Search(DefaultRootWindow(connection), title)) != 0; }, seconds);
    return found;
  }

  bool WindowSize(Window window, int* width, int* height) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(connection, window, &attributes)) return false;
    *width = attributes.width;
    *height = attributes.height;
    return true;
  }

  // Position of a window's top-left pixel on the screen, its size, and whether it is shown.
  bool ScreenGeometry(Window window, int* x, int* y, int* width, int* height, bool* viewable) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(connection, window, &attributes)) return false;
    Window child = 0;
    if (!XTranslateCoordinates(connection, window, DefaultRootWindow(connection), 0, 0, x, y, &child)) return false;
    *width = attributes.width;
    *height = attributes.height;
    *viewable = attributes.map_state == IsViewable;
    return true;
  }

  // Packed RGB of a screen rectangle (inside the screen), top row first.
  bool GrabScreen(int x, int y, int width, int height, std::vector<unsigned char>* rgb) {
    XImage* image = XGetImage(connection, DefaultRootWindow(connection), x, y, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (!image) return false;
    rgb->assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 3, 0);
    for (int row = 0; row < height; ++row) {
      for (int column = 0; column < width; ++column) {
        const unsigned long pixel = XGetPixel(image, column, row);
        unsigned char* out = rgb->data() + (static_cast<size_t>(row) * static_cast<size_t>(width) + static_cast<size_t>(column)) * 3;
        out[0] = static_cast<unsigned char>((pixel & image->red_mask) >> Shift(image->red_mask));
        out[1] = static_cast<unsigned char>((pixel & image->green_mask) >> Shift(image->green_mask));
        out[2] = static_cast<unsigned char>((pixel & image->blue_mask) >> Shift(image->blue_mask));
      }
    }
    XDestroyImage(image);
    return true;
  }

  // What a window manager sends when the user clicks the close button.
  void RequestClose(Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(connection, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(connection, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(connection, window, False, NoEventMask, &event);
    XFlush(connection);
  }

  // Runs xdotool against this server; true when it exits with 0.
  bool Xdotool(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {"xdotool"};
    argv.insert(argv.end(), args.begin(), args.end());
    const pid_t child = Spawn(argv, "", {"DISPLAY=" + display}, "/dev/null", "/dev/null");
    int status = -1;
    if (!WaitExit(child, 10.0, &status)) {
      kill(child, SIGKILL);
      waitpid(child, nullptr, 0);
      return false;
    }
    return status == 0;
  }

  std::string display;

 private:
  Display* WaitForConnection() {
    Display* d = nullptr;
    WaitFor([&] { return (d = XOpenDisplay(display.c_str())) != nullptr; }, 10.0);
    return d;
  }

  static int Shift(unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1) == 0) mask >>= 1, ++shift;
    return shift;
  }

  Window Search(Window window, const char* title) {
    char* name = nullptr;
    if (XFetchName(connection, window, &name) && name) {
      const bool match = std::string(name) == title;
      XFree(name);
      if (match) return window;
    }
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(connection, window, &root, &parent, &children, &count)) return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; ++i) found = Search(children[i], title);
    if (children) XFree(children);
    return found;
  }

  pid_t pid = -1;
  Display* connection = nullptr;
};

// A test suite that shares one private X server among its tests.
class XvfbSuite : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    server = new XvfbServer();
    ASSERT_TRUE(server->Start()) << "Xvfb did not start";
  }
  static void TearDownTestSuite() {
    delete server;
    server = nullptr;
  }

  static inline XvfbServer* server = nullptr;
};

}  // namespace e2e
