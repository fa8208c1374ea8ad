// strivex-render: the walk drawn without a window, through the program's own frame code, written as
// numbered frames (binary PPM or PNG) and/or handed to ffmpeg for a video. The clock is fixed by the
// options, so equal options give equal files.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "tools/frame_files/frame_image.h"
#include "tools/frame_files/numbered_frames.h"
#include "tools/frame_files/video_pipe.h"
#include "tools/headless/headless_options.h"
#include "tools/headless/headless_session.h"
#include "tools/headless/progress_line.h"

namespace {

constexpr uint32_t RenderOptions = SessionOptions | RenderOutputOptions;

void PrintUsage() {
  std::printf(
      "Usage: strivex-render [options]\n"
      "Renders the walking robot of De_209.asc and tex/ without a window and writes the frames as\n"
      "OUTPUT/image000.ppm, image001.ppm, ... (binary PPM, or PNG with --format png), or as a video\n"
      "with --video. Frame i is drawn with the clock at START + i * STEP ms, so two runs with the same\n"
      "options give identical files. On a terminal, standard error shows how far the run is.\n"
      "Options:\n");
  PrintHeadlessOptionsHelp(stdout, RenderOptions, HeadlessOptions{});
}

// Paths made absolute before the session changes the working directory to the scene's.
std::string Absolute(const char* path) {
  std::error_code ignored;
  return std::filesystem::absolute(path, ignored).lexically_normal().string();
}

int Fail(const char* reason) {
  std::fprintf(stderr, "strivex-render: %s\n", reason);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  HeadlessOptions options;
  bool help = false;
  char error[256] = "";
  if (!ParseHeadlessOptions(argc, argv, RenderOptions, &options, &help, error)) return Fail(error);
  if (help) {
    PrintUsage();
    return 0;
  }
  const bool video = options.videoFile != nullptr;
  const bool frameFiles = !video || options.outputGiven;
  if (video && !FindOnPath("ffmpeg")) {
    return Fail("--video needs ffmpeg, which is not on PATH; install it (apt-get install ffmpeg) or leave out --video");
  }
  std::string output = Absolute(options.outputDirectory);
  if (!output.empty() && output.back() == '/') output.pop_back();
  const std::string videoFile = video ? Absolute(options.videoFile) : std::string();
  HeadlessSession session;
  if (!session.Start(options, error)) return Fail(error);

  if (frameFiles) {
    std::error_code made;
    std::filesystem::create_directories(output, made);
    if (made) {
      std::snprintf(error, sizeof error, "cannot create the output directory %.150s: %s", output.c_str(),
                    made.message().c_str());
      return Fail(error);
    }
    if (options.replaceFrames && !RemoveNumberedFrames(output, error, sizeof error)) return Fail(error);
  }
  VideoPipe pipe;
  if (video && !pipe.Open(videoFile.c_str(), options.width, options.height, options.step, error, sizeof error)) {
    return Fail(error);
  }
  FrameImage image;
  ProgressLine progress(options.frames);
  for (int i = 0; i < options.frames; ++i) {
    session.DrawFrameAt(session.FrameTime(i));
    ReadBackFrame(options.width, options.height, &image);
    if (frameFiles && !WriteFrameFile(NumberedFrameName(output, i, options.format).c_str(), options.format, image,
                                      error, sizeof error)) {
      progress.Clear();
      return Fail(error);
    }
    if (video && !pipe.Write(image, error, sizeof error)) {
      progress.Clear();
      return Fail(error);
    }
    progress.Update(i + 1);
  }
  progress.Clear();
  if (video && !pipe.Close(error, sizeof error)) return Fail(error);

  if (frameFiles) {
    const std::string first = NumberedFrameName(output, 0, options.format);
    const std::string last = NumberedFrameName(output, options.frames - 1, options.format);
    if (options.frames == 1) {
      std::printf("1 frame of %d x %d written: %s\n", options.width, options.height, first.c_str());
    } else {
      std::printf("%d frames of %d x %d written: %s to %s\n", options.frames, options.width, options.height,
                  first.c_str(), std::filesystem::path(last).filename().c_str());
    }
    const OlderFrames older = FindOlderFrames(output, options.frames, options.format);
    if (older.count > 0) {
      std::fprintf(stderr,
                   "strivex-render: %s also holds %d numbered frame%s from before (%s%s%s); run with --replace to "
                   "remove %s first\n",
                   output.c_str(), older.count, older.count == 1 ? "" : "s", older.first.c_str(),
                   older.count > 1 ? " to " : "", older.count > 1 ? older.last.c_str() : "",
                   older.count == 1 ? "it" : "them");
    }
  }
  if (video) {
    std::printf("video of %d frames of %d x %d%s written to %s\n", options.frames, options.width, options.height,
                options.width % 2 || options.height % 2 ? " (padded to an even size)" : "", videoFile.c_str());
  }
  return 0;
}
