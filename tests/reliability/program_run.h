// One run of a real viewer program under Xvfb: started in its own scratch directory (optionally as
// an unprivileged user, so that file permissions apply even when the tests run as root, or under a
// checker such as valgrind), its console and error output captured, driven by keys, menu choices
// and drags with the pointer over its window, and closed the way a window manager closes it.
// Every wait is bounded.
#pragma once

#include <grp.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e/x_session.h"

namespace reliability {

namespace fs = std::filesystem;

// The conventional unprivileged user and group.
constexpr uid_t kNobodyUser = 65534;
constexpr gid_t kNobodyGroup = 65534;

// A directory under /tmp that an unprivileged child can enter and read.
inline fs::path MakeRunDirectory(const std::string& name) {
  const fs::path directory =
      fs::temp_directory_path() / ("strivex-reliability-" + std::to_string(getpid()) + "-" + name);
  std::error_code error;
  fs::remove_all(directory, error);
  fs::create_directories(directory, error);
  chmod(directory.c_str(), 0755);
  return directory;
}

inline void WriteFile(const fs::path& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

// Lines of `text` that begin with `prefix`, each with its line end.
inline std::vector<std::string> LinesStartingWith(const std::string& text, const std::string& prefix) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    end = end == std::string::npos ? text.size() : end + 1;
    if (text.compare(at, prefix.size(), prefix) == 0) lines.push_back(text.substr(at, end - at));
    at = end;
  }
  return lines;
}

// What AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer print when they find a fault
// (the summary of suppressed driver allocations that LeakSanitizer prints at exit is no report).
inline bool HasSanitizerReport(const std::string& errors) {
  return errors.find("Sanitizer") != std::string::npos || errors.find("runtime error") != std::string::npos;
}

class ProgramRun {
 public:
  ProgramRun(e2e::XvfbServer* server, const std::string& program, fs::path directory, bool unprivileged = false)
      : ProgramRun(server, std::vector<std::string>{std::string(STRIVEX_BINARY_DIR) + "/" + program},
                   std::move(directory), unprivileged, 1.0) {}

  // A whole command line (a program under a checker, with arguments); `patience` scales every wait.
  ProgramRun(e2e::XvfbServer* server, std::vector<std::string> command, fs::path directory, bool unprivileged,
             double patience)
      : server(server),
        command(std::move(command)),
        directory(std::move(directory)),
        unprivileged(unprivileged),
        patience(patience) {}

  ~ProgramRun() {
    if (pid > 0 && !ended) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }

  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  // As root, an unprivileged run drops to nobody before exec; a test runner that is not root
  // already is a user to whom permissions apply.
  bool DropsPrivileges() const { return unprivileged && geteuid() == 0; }

  void Start() {
    std::vector<char*> argv;
    for (const std::string& argument : command) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const std::string out = (directory / "stdout.txt").string(), err = (directory / "stderr.txt").string();
    const std::string display = "DISPLAY=" + server->display;
    // The test runner may switch leak checking off for itself; the program gets it back.
    const std::string asan = "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0";
    const bool drop = DropsPrivileges();
    std::fflush(stdout);
    std::fflush(stderr);
    pid = fork();
    if (pid != 0) return;
    if (chdir(directory.c_str()) != 0) _exit(127);
    putenv(const_cast<char*>(display.c_str()));
    putenv(const_cast<char*>(asan.c_str()));
    if (!std::freopen(out.c_str(), "w", stdout) || !std::freopen(err.c_str(), "w", stderr)) _exit(127);
    if (drop && (setgroups(0, nullptr) != 0 || setgid(kNobodyGroup) != 0 || setuid(kNobodyUser) != 0)) _exit(126);
    execvp(argv[0], argv.data());
    _exit(127);
  }

  // For runs that end on their own (a scene that cannot be used).
  bool WaitForExit(int* status, double seconds = 60.0) {
    if (!e2e::WaitExit(pid, seconds * patience, status)) return false;
    ended = true;
    return true;
  }

  // Waits for the window and for the load line to end, then puts the pointer over the window so
  // that keys reach it (without a window manager the focus follows the pointer).
  bool WaitUntilRunning() {
    window = server->FindWindow("Ambulon", 60.0 * patience);
    if (window == 0) return false;
    if (!e2e::WaitFor([&] { return LoadLineEnded(); }, 60.0 * patience)) return false;
    return server->WindowSize(window, &width, &height) && PointerTo(width / 2, height / 2);
  }

  bool Key(const std::string& keysym) { return server->Xdotool({"key", keysym}); }

  bool PointerTo(int x, int y) {
    return server->Xdotool({"mousemove", "--window", std::to_string(window), std::to_string(x), std::to_string(y)});
  }

  // Left-button drag from the window's middle by (dx, dy), in a few moves.
  bool Drag(int dx, int dy) {
    bool ok = PointerTo(width / 2, height / 2) && server->Xdotool({"mousedown", "1"});
    for (int step = 1; step <= 4 && ok; ++step) ok = PointerTo(width / 2 + dx * step / 4, height / 2 + dy * step / 4);
    return server->Xdotool({"mouseup", "1"}) && ok && PointerTo(width / 2, height / 2);
  }

  // Pops the right-button menu up at the window's middle and releases the button over entry
  // `position` (1 to 6); true once the menu has closed again.
  bool MenuChoice(int position) {
    if (!PointerTo(width / 2, height / 2) || !server->Xdotool({"mousedown", "3"})) return false;
    const Window menu = server->FindWindow("freeglut menu", 30.0 * patience);
    int x = 0, y = 0, w = 0, h = 0;
    bool shown = false;
    const bool placed =
        menu != 0 &&
        e2e::WaitFor([&] { return server->ScreenGeometry(menu, &x, &y, &w, &h, &shown) && shown; }, 30.0 * patience);
    if (!placed) {
      server->Xdotool({"mouseup", "3"});
      return false;
    }
    // Entries are of equal height; the middle of entry n lies (2n - 1)/12 of the way down.
    const bool released =
        server->Xdotool({"mousemove", std::to_string(x + w / 2), std::to_string(y + (2 * position - 1) * h / 12)}) &&
        server->Xdotool({"mouseup", "3"});
    return released &&
           e2e::WaitFor([&] { return !(server->ScreenGeometry(menu, &x, &y, &w, &h, &shown) && shown); },
                        30.0 * patience) &&
           PointerTo(width / 2, height / 2);
  }

  // Closes the window as a window manager would and waits for the end.
  bool Close(int* status) {
    server->RequestClose(window);
    return WaitForExit(status);
  }

  double Patience() const { return patience; }

  std::string Console() const { return e2e::ReadFile((directory / "stdout.txt").string()); }
  std::string Errors() const { return e2e::ReadFile((directory / "stderr.txt").string()); }

 private:
  // The loader prints "Reading models... " and ends that line with its last message.
  bool LoadLineEnded() const {
    const std::string console = Console();
    const size_t start = console.find("Reading models... ");
    return start != std::string::npos && console.find('\n', start) != std::string::npos;
  }

  e2e::XvfbServer* server;
  std::vector<std::string> command;
  fs::path directory;
  bool unprivileged;
  double patience;
  pid_t pid = -1;
  bool ended = false;
  Window window = 0;
  int width = 0, height = 0;
};

}  // namespace reliability
