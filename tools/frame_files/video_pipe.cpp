#include "tools/frame_files/video_pipe.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

bool FindOnPath(const char* program) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return false;
  const std::string directories = path;
  size_t begin = 0;
  while (begin <= directories.size()) {
    size_t end = directories.find(':', begin);
    if (end == std::string::npos) end = directories.size();
    // An empty entry means the working directory, as for the shell.
    const std::string directory = end > begin ? directories.substr(begin, end - begin) : ".";
    const std::string candidate = directory + "/" + program;
    struct stat status {};
    if (stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode) && access(candidate.c_str(), X_OK) == 0) {
      return true;
    }
    begin = end + 1;
  }
  return false;
}

VideoPipe::~VideoPipe() {
  char ignored[256];
  if (child > 0) Close(ignored, sizeof ignored);
}

bool VideoPipe::Open(const char* path, int width, int height, uint32_t stepMs, char* error, size_t errorSize) {
  char size[32], rate[32];
  std::snprintf(size, sizeof size, "%dx%d", width, height);
  if (stepMs > 0) std::snprintf(rate, sizeof rate, "1000/%u", stepMs);
  else std::snprintf(rate, sizeof rate, "15");
  const char* argv[] = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-nostats", "-y",
                        "-f", "rawvideo", "-pix_fmt", "rgb24", "-video_size", size, "-framerate", rate, "-i", "-",
                        "-vf", "pad=ceil(iw/2)*2:ceil(ih/2)*2", "-pix_fmt", "yuv420p", path, nullptr};
  int ends[2];
  if (pipe(ends) != 0) {
    std::snprintf(error, errorSize, "cannot start ffmpeg: %s", std::strerror(errno));
    return false;
  }
  std::fflush(nullptr);
  child = fork();
  if (child == 0) {
    dup2(ends[0], STDIN_FILENO);
    close(ends[0]);
    close(ends[1]);
    execvp("ffmpeg", const_cast<char* const*>(argv));
    std::fprintf(stderr, "cannot run ffmpeg: %s\n", std::strerror(errno));
    _exit(127);
  }
  close(ends[0]);
  if (child < 0) {
    close(ends[1]);
    std::snprintf(error, errorSize, "cannot start ffmpeg: %s", std::strerror(errno));
    return false;
  }
  // When ffmpeg ends early, a write is to fail with EPIPE rather than end this program.
  signal(SIGPIPE, SIG_IGN);
  input = ends[1];
  return true;
}

bool VideoPipe::Write(const FrameImage& image, char* error, size_t errorSize) {
  const unsigned char* bytes = image.rgb.data();
  size_t left = image.rgb.size();
  while (left > 0) {
    const ssize_t sent = write(input, bytes, left);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) {
      std::snprintf(error, errorSize, "ffmpeg stopped taking frames (%s)", std::strerror(sent < 0 ? errno : EIO));
      return false;
    }
    bytes += sent;
    left -= static_cast<size_t>(sent);
  }
  return true;
}

bool VideoPipe::Close(char* error, size_t errorSize) {
  if (input >= 0) close(input);
  input = -1;
  int raw = 0;
  pid_t waited = 0;
  while ((waited = waitpid(child, &raw, 0)) < 0 && errno == EINTR) {
  }
  child = -1;
  if (waited > 0 && WIFEXITED(raw) && WEXITSTATUS(raw) == 0) return true;
  if (waited > 0 && WIFEXITED(raw)) {
    std::snprintf(error, errorSize, "ffmpeg failed with exit status %d (its own message is above)", WEXITSTATUS(raw));
  } else if (waited > 0) {
    std::snprintf(error, errorSize, "ffmpeg was ended by signal %d", WTERMSIG(raw));
  } else {
    std::snprintf(error, errorSize, "cannot wait for ffmpeg: %s", std::strerror(errno));
  }
  return false;
}
