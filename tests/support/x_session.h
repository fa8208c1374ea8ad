// A private Xvfb with one real program at a time in it: started in a scratch directory with its
// console captured (as the unprivileged user nobody when the tests run as root, so that file
// permissions apply to it), driven with xdotool, its screen read back, and closed the way a window
// manager closes it (WM_DELETE_WINDOW). Every wait is bounded.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>

#include <algorithm>

#include "support/child_process.h"

template <typename Condition>
bool WaitFor(Condition condition, double seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (; std::chrono::steady_clock::now() < end; std::this_thread::sleep_for(std::chrono::milliseconds(20))) {
    if (condition()) return true;
  }
  return condition();
}

// Lines of `text` that begin with one of `prefixes`, each with its line end.
inline std::vector<std::string> LinesStartingWith(const std::string& text, const std::vector<std::string>& prefixes) {
  std::vector<std::string> lines;
  for (size_t at = 0, end; at < text.size(); at = end) {
    end = std::min(text.find('\n', at), text.size() - 1) + 1;
    for (const std::string& p : prefixes) {
      if (text.compare(at, p.size(), p) == 0) lines.push_back(text.substr(at, end - at));
    }
  }
  return lines;
}

// What AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer print when they find a fault.
inline bool HasSanitizerReport(const std::string& errors) {
  return errors.find("Sanitizer") != std::string::npos || errors.find("runtime error") != std::string::npos;
}

class XSession {
 public:
  XSession() {
    // Xvfb picks a free display itself and names it on the pipe once it takes connections, so
    // tests that run side by side never share a server.
    int names[2];
    if (pipe2(names, O_CLOEXEC) != 0) return;
    fcntl(names[1], F_SETFD, 0);
    server = Spawn({"Xvfb", "-displayfd", std::to_string(names[1]), "-screen", "0", "800x600x24", "-nolisten", "tcp"},
                   "", {}, "", "/dev/null");
    close(names[1]);
    const std::string number = ReadLine(names[0], 10);
    close(names[0]);
    display = ":" + number;
    if (number.empty() || !(connection = XOpenDisplay(display.c_str()))) End(&server, SIGKILL);
    // A window that vanishes between a search and a query (a menu closing, the program ending)
    // must fail that query, not end the test program.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  }
  ~XSession() {
    End(&program, SIGKILL);
    if (connection) XCloseDisplay(connection);
    End(&server, SIGTERM);
  }
  bool Ok() const { return connection != nullptr; }

  // Starts `command` in `directory` as nobody (see Spawn), its output in stdout.txt and stderr.txt
  // there; `patience` scales the later waits (a sanitized or checked program is slower).
  // The build's programs named in `command` run from copies in the run directory: nobody must
  // reach them wherever the build is (a clone in /root, mode 700, is out of its reach).
  void Launch(std::vector<std::string> command, const std::string& runDirectory, double scale) {
    directory = runDirectory, patience = scale;
    std::error_code error;
    for (std::string& word : command) {
      if (word.rfind(STRIVEX_BINARY_DIR "/", 0) != 0 || !std::filesystem::is_regular_file(word, error)) continue;
      const std::string copy = directory + "/" + std::filesystem::path(word).filename().string();
      if (std::filesystem::copy_file(word, copy, std::filesystem::copy_options::overwrite_existing, error)) word = copy;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(directory, error)) Give(entry.path());
    program = Spawn(command, Give(directory), {"DISPLAY=" + display, "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0"},
                    directory + "/stdout.txt", directory + "/stderr.txt", true);
  }
  // Exit status, or 128 + signal; -1 when it did not end in time.
  int WaitExit() {
    int status = -1;
    if (program > 0 && !::WaitExit(program, 60 * patience, &status)) status = -1;
    return program = -1, status;
  }
  // Waits for the window and for the load line to end, then puts the pointer over the window's
  // middle (without a window manager the keyboard focus follows the pointer).
  bool WaitRunning() {
    int x = 0, y = 0;
    return WaitFor([&] { return Shown("Ambulon", &x, &y, &width, &height); }, 60 * patience) && WaitFor([&] {
             const std::string console = Console();
             return console.find("Reading models... ") != std::string::npos && console.back() == '\n';
           }, 60 * patience) && Pointer(width / 2, height / 2);
  }
  int Close() {
    XEvent event{};
    const Atom protocols = XInternAtom(connection, "WM_PROTOCOLS", False);
    event.xclient = {ClientMessage, 0, False, connection, window, protocols, 32, {}};
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(connection, "WM_DELETE_WINDOW", False));
    XSendEvent(connection, window, False, NoEventMask, &event);
    XFlush(connection);
    return WaitExit();
  }

  bool Xdotool(std::vector<std::string> args) {
    args.insert(args.begin(), "xdotool");
    int status = -1;
    return ::WaitExit(Spawn(args, "", {"DISPLAY=" + display}, "/dev/null", "/dev/null"), 10, &status) && status == 0;
  }
  bool Key(const std::string& keysym) { return Xdotool({"key", keysym}); }
  bool Pointer(int x, int y) {
    return Xdotool({"mousemove", "--window", std::to_string(window), std::to_string(x), std::to_string(y)});
  }
  // Screen rectangle of the shown top-level window titled `title`.
  bool Shown(const std::string& title, int* x, int* y, int* w, int* h) {
    const Window found = Search(title);
    XWindowAttributes a{};
    Window child = 0;
    if (!found || !XGetWindowAttributes(connection, found, &a) || a.map_state != IsViewable ||
        !XTranslateCoordinates(connection, found, DefaultRootWindow(connection), 0, 0, x, y, &child)) return false;
    if (title == "Ambulon") window = found;
    return *w = a.width, *h = a.height, true;
  }
  // The screen's pixels as 0xRRGGBB, top row first.
  std::vector<unsigned long> Grab(int x, int y, int w, int h) {
    std::vector<unsigned long> pixels;
    XImage* image = XGetImage(connection, DefaultRootWindow(connection), x, y, w, h, AllPlanes, ZPixmap);
    for (int i = 0; image && i < w * h; ++i) pixels.push_back(XGetPixel(image, i % w, i / w));
    if (image) XDestroyImage(image);
    return pixels;
  }

  std::string Console() const { return ReadWholeFile(directory + "/stdout.txt"); }
  std::string Errors() const { return ReadWholeFile(directory + "/stderr.txt"); }
  double patience = 1.0;
  int width = 0, height = 0;  // of the program's window

 private:
  // The run's files belong to the user the program runs as.
  static const std::string& Give(const std::string& path) {
    if (geteuid() == 0 && lchown(path.c_str(), 65534, 65534) != 0) std::perror(path.c_str());
    return path;
  }
  // One line from `fd` without its line end; empty when none came within `seconds`.
  static std::string ReadLine(int fd, double seconds) {
    std::string line;
    char c = 0;
    pollfd ready{fd, POLLIN, 0};
    return WaitFor([&] {
      while (poll(&ready, 1, 0) == 1 && read(fd, &c, 1) == 1 && c != '\n') line += c;
      return c == '\n' || (ready.revents & POLLHUP);
    }, seconds) && c == '\n' ? line : "";
  }
  static void End(pid_t* pid, int signal) {
    int status = 0;
    if (*pid > 0) kill(*pid, signal), ::WaitExit(*pid, 5, &status);
    *pid = -1;
  }
  // Without a window manager every top-level window, menus included, is a child of the root.
  Window Search(const std::string& title) {
    Window root = 0, parent = 0, *children = nullptr, found = 0;
    unsigned int count = 0;
    XQueryTree(connection, DefaultRootWindow(connection), &root, &parent, &children, &count);
    for (unsigned int i = 0; i < count && !found; ++i) {
      char* name = nullptr;
      if (XFetchName(connection, children[i], &name) && name) found = title == name ? children[i] : 0, XFree(name);
    }
    if (children) XFree(children);
    return found;
  }

  std::string display, directory;
  pid_t server = -1, program = -1;
  Display* connection = nullptr;
  Window window = 0;
};
