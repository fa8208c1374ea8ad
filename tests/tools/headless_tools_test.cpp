// The headless programs as a user runs them from build/: what their options take and refuse, what
// their help promises against what a run does, the frames and the video they leave, and standard
// error quiet in a pipe but showing progress on a terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <png.h>
#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <vector>

#include "support/child_process.h"
#include "tools/headless/headless_options.h"

namespace {

namespace fs = std::filesystem;

const std::string kBuild = STRIVEX_BINARY_DIR;

struct ToolRun {
  int status = -1;
  std::string out, err;
};

// One of the programs, run in the scratch directory on the built scene (a later --scene wins), with
// its output caught; `environment` entries such as "PATH=..." added. Standard error goes to
// `terminal` instead when one is given.
ToolRun RunTool(const std::string& program, std::vector<std::string> args, const ScratchDir& scratch,
            const std::vector<std::string>& environment = {}, const std::string& terminal = "") {
  args.insert(args.begin(), {kBuild + "/" + program, "--scene", kBuild});
  const std::string errPath = terminal.empty() ? scratch.File("err.txt") : terminal;
  ToolRun run;
  const pid_t pid = Spawn(args, scratch.Path(), environment, scratch.File("out.txt"), errPath);
  EXPECT_TRUE(WaitExit(pid, 120, &run.status)) << program << " did not end";
  run.out = ReadWholeFile(scratch.File("out.txt"));
  if (terminal.empty()) run.err = ReadWholeFile(errPath);
  return run;
}

std::vector<std::string> FramesIn(const std::string& directory) {
  std::vector<std::string> names;
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(directory, ignored)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// The RGB pixels of a PNG file, top row first, through libpng's own reader.
std::string PngPixels(const std::string& path, int* width, int* height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return "";
  image.format = PNG_FORMAT_RGB;
  std::string pixels(PNG_IMAGE_SIZE(image), '\0');
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return "";
  *width = static_cast<int>(image.width);
  *height = static_cast<int>(image.height);
  return pixels;
}

bool Refused(std::vector<std::string> args, uint32_t accepted, const char* reason) {
  args.insert(args.begin(), "tool");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  HeadlessOptions options;
  bool help = false;
  char error[256] = "";
  if (ParseHeadlessOptions(static_cast<int>(argv.size()), argv.data(), accepted, &options, &help, error)) return false;
  EXPECT_NE(strstr(error, reason), nullptr) << error;
  return true;
}

TEST(HeadlessOptions, ValuesAtTheEdgesOfTheirRangesAndRefusalsThatNameTheRange) {
  const uint32_t all = SessionOptions | RenderOutputOptions;
  EXPECT_TRUE(Refused({"--size", "16384x16384"}, all, "W and H from 1 to 8192"));
  EXPECT_TRUE(Refused({"--size", "8193x1"}, all, "1 to 8192"));
  EXPECT_TRUE(Refused({"--size", "0x5"}, all, "1 to 8192"));
  EXPECT_TRUE(Refused({"--size", "5x5x"}, all, "1 to 8192"));
  EXPECT_TRUE(Refused({"--frames", "0"}, all, "1 to 1000000"));
  EXPECT_TRUE(Refused({"--frames", "1000001"}, all, "1 to 1000000"));
  EXPECT_TRUE(Refused({"--elevation", "80.5"}, all, "-10 to 80"));
  EXPECT_TRUE(Refused({"--start-time", "0"}, all, "1 to 4294967295"));
  EXPECT_TRUE(Refused({"--mode", "shaded"}, all, "textured, solid or wireframe"));
  EXPECT_TRUE(Refused({"--frames"}, all, "needs a value: 1 to 1000000"));
  EXPECT_TRUE(Refused({"--mode", "solid"}, SessionOptions & ~OptMode, "does not apply"));
  EXPECT_TRUE(Refused({"-x"}, all, "unknown option -x"));

  std::vector<std::string> args = {"tool",   "--size",       "8192x1",     "--replace", "--format", "png", "-h",
                                   "--step", "0",            "--start-time", "4294967295", "--mode", "wireframe"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  HeadlessOptions o;
  bool help = false;
  char error[256] = "";
  ASSERT_TRUE(ParseHeadlessOptions(static_cast<int>(argv.size()), argv.data(), all, &o, &help, error)) << error;
  EXPECT_TRUE(help);
  EXPECT_EQ(o.width, 8192);
  EXPECT_EQ(o.height, 1);
  EXPECT_TRUE(o.replaceFrames);
  EXPECT_EQ(o.format, FrameFormat::Png);
  EXPECT_EQ(o.step, 0u);
  EXPECT_EQ(o.startTime, 4294967295u);
  EXPECT_EQ(o.mode, RenderMode::Wireframe);
}

// The number a help line gives as the default of `option`.
int HelpDefault(const std::string& help, const std::string& option) {
  std::smatch m;
  const std::regex line("\n  " + option + " [^\n]*(\n {25}[^\n]*)*\\(default ([0-9]+)");
  return std::regex_search(help, m, line) ? std::stoi(m[2]) : -1;
}

TEST(HeadlessTools, EachHelpStatesTheDefaultsAndLimitsARunKeeps) {
  ScratchDir scratch;
  const ToolRun render = RunTool("strivex-render", {"-h"}, scratch);
  const ToolRun soak = RunTool("strivex-soak", {"--help"}, scratch);
  const ToolRun bench = RunTool("strivex-bench", {"--help"}, scratch);
  for (const ToolRun* help : {&render, &soak, &bench}) {
    EXPECT_EQ(help->status, 0);
    for (const char* option : {"--frames", "--size", "--scene", "--help"}) {
      EXPECT_EQ(std::regex_search(help->out, std::regex(std::string("\n  ") + option + "[ ,].*\n[^]*\n  " + option)),
                false)
          << option << " listed twice in\n" << help->out;
    }
  }
  EXPECT_EQ(bench.out.find("--mode"), std::string::npos);
  EXPECT_NE(soak.out.find("(default 250x250)"), std::string::npos);
  EXPECT_EQ(soak.out.find("500x500"), std::string::npos);

  // strivex-render without --frames writes as many frames as its help says, in its default format.
  const int frames = HelpDefault(render.out, "--frames");
  ASSERT_GT(frames, 0) << render.out;
  ASSERT_EQ(RunTool("strivex-render", {"--size", "8x8", "--output", scratch.File("d")}, scratch).status, 0);
  EXPECT_EQ(FramesIn(scratch.File("d")).size(), static_cast<size_t>(frames));
  EXPECT_EQ(FramesIn(scratch.File("d")).back(), "image0" + std::to_string(frames - 1) + ".ppm");

  // strivex-soak takes exactly the minimum its help states, and no frame fewer.
  EXPECT_EQ(HelpDefault(soak.out, "--frames"), 20000);
  std::smatch m;
  ASSERT_TRUE(std::regex_search(soak.out, m, std::regex("at least ([0-9]+) times --every")));
  const std::string least = m[1];
  const std::vector<std::string> soakRun = {"--every", "1", "--size", "16x16", "--picture", scratch.File("p.ppm")};
  std::vector<std::string> fewer = soakRun, enough = soakRun;
  fewer.insert(fewer.end(), {"--frames", std::to_string(std::stoi(least) - 1)});
  enough.insert(enough.end(), {"--frames", least});
  const ToolRun refused = RunTool("strivex-soak", fewer, scratch);
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("at least " + least + " with --every 1"), std::string::npos) << refused.err;
  const ToolRun ran = RunTool("strivex-soak", enough, scratch);
  EXPECT_EQ(ran.status, 0) << ran.out << ran.err;
  EXPECT_EQ(ran.err, "") << "nothing but the reports in a pipe";
  EXPECT_NE(ran.out.find("display lists: flat; texture objects: flat"), std::string::npos) << ran.out;
}

TEST(RenderTool, PngFramesHoldThePpmFramesPixelsAndAPipeGetsNoProgress) {
  ScratchDir scratch;
  const std::vector<std::string> view = {"--frames", "2", "--size", "31x17", "--mode", "solid"};
  std::vector<std::string> ppm = view, png = view;
  ppm.insert(ppm.end(), {"--output", scratch.File("ppm")});
  png.insert(png.end(), {"--output", scratch.File("png"), "--format", "png"});
  ASSERT_EQ(RunTool("strivex-render", ppm, scratch).status, 0);
  const ToolRun run = RunTool("strivex-render", png, scratch);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_NE(run.out.find("2 frames of 31 x 17 written: " + scratch.File("png/image000.png") + " to image001.png\n"),
            std::string::npos)
      << run.out;
  for (const char* frame : {"image000", "image001"}) {
    int width = 0, height = 0;
    const std::string pixels = PngPixels(scratch.File("png/") + frame + ".png", &width, &height);
    const std::string ppmFile = ReadWholeFile(scratch.File("ppm/") + frame + ".ppm");
    EXPECT_EQ(width, 31);
    EXPECT_EQ(height, 17);
    ASSERT_GE(ppmFile.size(), pixels.size());
    EXPECT_TRUE(pixels == ppmFile.substr(ppmFile.size() - pixels.size())) << frame;
  }
}

TEST(RenderTool, OlderNumberedFramesAreNamedAndRemovedOnRequestAndNothingElse) {
  ScratchDir scratch;
  const std::string out = scratch.File("out");
  ASSERT_EQ(RunTool("strivex-render", {"--frames", "5", "--size", "4x4", "--output", out}, scratch).status, 0);
  for (const char* other : {"/notes.txt", "/image12.ppm", "/image001.jpg"}) std::ofstream(out + other) << "x";
  const std::vector<std::string> two = {"--frames", "2", "--size", "4x4", "--output", out, "--format", "png"};
  const ToolRun beside = RunTool("strivex-render", two, scratch);
  EXPECT_NE(beside.err.find(out + " also holds 5 numbered frames from before (image000.ppm to image004.ppm); run "
                                  "with --replace"),
            std::string::npos)
      << beside.err;
  std::vector<std::string> replace = two;
  replace.push_back("--replace");
  const ToolRun replaced = RunTool("strivex-render", replace, scratch);
  EXPECT_EQ(replaced.err, "");
  EXPECT_EQ(FramesIn(out), (std::vector<std::string>{"image000.png", "image001.jpg", "image001.png", "image12.ppm",
                                                     "notes.txt"}));
}

TEST(RenderTool, ASceneThatCannotBeReadIsNamedWithItsReasonAndNoOutputIsMade) {
  ScratchDir scratch;
  const std::string out = scratch.File("out");
  const ToolRun missing = RunTool("strivex-render", {"--scene", "/nonexistent", "--output", out}, scratch);
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("/nonexistent (--scene): No such file or directory"), std::string::npos) << missing.err;
  const ToolRun empty = RunTool("strivex-render", {"--scene", scratch.Path(), "--output", out}, scratch);
  EXPECT_EQ(empty.status, 1);
  EXPECT_EQ(empty.err, "strivex-render: cannot read De_209.asc in " + scratch.Path() +
                           ": No such file or directory; give --scene the directory that holds it and tex/\n");
  EXPECT_FALSE(FileExists(out));
}

TEST(RenderTool, VideoWithoutFfmpegOnPathSaysWhatToInstall) {
  ScratchDir scratch;
  const ToolRun run = RunTool("strivex-render", {"--video", scratch.File("walk.mp4")}, scratch, {"PATH=/nonexistent"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  EXPECT_NE(run.err.find("ffmpeg, which is not on PATH; install it (apt-get install ffmpeg)"), std::string::npos);
  EXPECT_FALSE(FileExists(scratch.File("walk.mp4")));
  EXPECT_FALSE(FileExists(scratch.File("frames")));
}

TEST(RenderTool, VideoOfAnOddSizeHoldsEveryFramePaddedToEven) {
  if (std::system("command -v ffmpeg >/dev/null && command -v ffprobe >/dev/null") != 0) {
    GTEST_SKIP() << "ffmpeg and ffprobe are not installed (apt-get install ffmpeg)";
  }
  ScratchDir scratch;
  const std::string video = scratch.File("walk.mp4");
  const ToolRun run = RunTool("strivex-render", {"--frames", "8", "--size", "31x17", "--video", video}, scratch);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(FramesIn(scratch.Path()) == (std::vector<std::string>{"err.txt", "out.txt", "walk.mp4"}));
  const std::string probe = "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                            "stream=width,height,nb_read_frames:format=duration -of default=nw=1 " +
                            video + " > " + scratch.File("probe.txt");
  ASSERT_EQ(std::system(probe.c_str()), 0);
  EXPECT_EQ(ReadWholeFile(scratch.File("probe.txt")), "width=32\nheight=18\nnb_read_frames=8\nduration=0.528000\n");
}

TEST(RenderTool, ATerminalSeesProgressOnOneRewrittenLine) {
  ScratchDir scratch;
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(grantpt(master) | unlockpt(master), 0);
  const std::string terminal = ptsname(master);
  const int keepOpen = open(terminal.c_str(), O_RDWR | O_NOCTTY);  // so that the output outlives the child
  const ToolRun run = RunTool("strivex-render", {"--frames", "3", "--size", "8x8", "--output", scratch.File("o")}, scratch,
                          {}, terminal);
  EXPECT_EQ(run.status, 0);
  fcntl(master, F_SETFL, O_NONBLOCK);
  std::string shown;
  char buffer[4096];
  for (ssize_t got = 0; (got = read(master, buffer, sizeof buffer)) > 0;) shown.append(buffer, got);
  close(keepOpen);
  close(master);
  EXPECT_NE(shown.find("\rframe 3 of 3, 0:0"), std::string::npos) << shown;
  EXPECT_EQ(shown.find('\n'), std::string::npos) << "one line, rewritten";
  EXPECT_EQ(shown.substr(shown.size() - 4), "\r\033[K") << "erased at the end";
}

}  // namespace
