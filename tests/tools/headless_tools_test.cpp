// The headless programs as a user runs them from build/: what their options take and refuse, what
// their help promises against what a run does, the frames and the video they leave, and standard
// error quiet in a pipe but showing progress on a terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <tuple>
#include <vector>

#include "support/child_process.h"
#include "tools/headless/headless_options.h"

namespace {

const std::string kBuild = STRIVEX_BINARY_DIR;

struct ToolRun { int status = -1; std::string out, err; };

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
  for (const auto& entry : std::filesystem::directory_iterator(directory, ignored)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// What a program taking `accepted` makes of `args`: the refusal, empty when they were taken.
std::string ParseError(std::vector<std::string> args, uint32_t accepted, HeadlessOptions* options) {
  args.insert(args.begin(), "tool");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  bool help = false;
  char error[256] = "";
  return ParseHeadlessOptions(static_cast<int>(argv.size()), argv.data(), accepted, options, &help, error) ? "" : error;
}

TEST(HeadlessOptions, ValuesAtTheEdgesOfTheirRangesAndRefusalsThatNameTheRange) {
  const uint32_t all = SessionOptions | RenderOutputOptions;
  HeadlessOptions o;
  const std::pair<std::vector<std::string>, std::string> refusals[] = {
      {{"--size", "16384x16384"}, "'16384x16384' for --size: it takes W and H from 1 to 8192"},
      {{"--size", "8193x1"}, "1 to 8192"}, {{"--size", "5x5x"}, "1 to 8192"},
      {{"--frames", "0"}, "1 to 1000000"}, {{"--elevation", "80.5"}, "-10 to 80"},
      {{"--mode", "shaded"}, "textured, solid or wireframe"}, {{"--frames"}, "needs a value: 1 to 1000000"},
      {{"-x"}, "unknown option -x"}};
  for (const auto& [args, reason] : refusals) EXPECT_NE(ParseError(args, all, &o).find(reason), std::string::npos);
  EXPECT_NE(ParseError({"--mode", "solid"}, SessionOptions & ~OptMode, &o).find("does not apply"), std::string::npos);
  EXPECT_EQ(ParseError({"--size", "8192x1", "--replace", "--format", "png", "--mode", "wireframe"}, all, &o), "");
  EXPECT_EQ(std::make_tuple(o.width, o.height, o.replaceFrames, o.format, o.mode),
            std::make_tuple(8192, 1, true, FrameFormat::Png, RenderMode::Wireframe));
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
    for (const std::string option : {"--frames ", "--size ", "--scene ", "--help,"}) {
      const std::regex listed("\n  " + option);
      EXPECT_EQ(std::distance(std::sregex_iterator(help->out.begin(), help->out.end(), listed), std::sregex_iterator()),
                1) << option << help->out;
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
  const std::string fewer = std::to_string(std::stoi(least) - 1), picture = scratch.File("p.ppm");
  const ToolRun refused = RunTool("strivex-soak", {"--every", "1", "--frames", fewer}, scratch);
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("at least " + least + " with --every 1"), std::string::npos) << refused.err;
  const ToolRun ran =
      RunTool("strivex-soak", {"--every", "1", "--size", "16x16", "--picture", picture, "--frames", least}, scratch);
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
  for (const std::string frame : {"/image000", "/image001"}) {  // ImageMagick's decoding; exit status 0: no pixel differs
    const std::string compare = "compare -metric AE " + scratch.File("ppm") + frame + ".ppm " + scratch.File("png") +
                                frame + ".png null: 2>/dev/null";
    EXPECT_EQ(std::system(compare.c_str()), 0) << frame;
  }
}

TEST(RenderTool, OlderNumberedFramesAreNamedAndRemovedOnRequestAndNothingElse) {
  ScratchDir scratch;
  const std::string out = scratch.File("out");
  ASSERT_EQ(RunTool("strivex-render", {"--frames", "5", "--size", "4x4", "--output", out}, scratch).status, 0);
  for (const char* other : {"/notes.txt", "/image12.ppm", "/image001.jpg"}) std::ofstream(out + other) << "x";
  const std::vector<std::string> two = {"--frames", "2", "--size", "4x4", "--output", out, "--format", "png"};
  const ToolRun beside = RunTool("strivex-render", two, scratch);
  const std::string note = " also holds 5 numbered frames from before (image000.ppm to image004.ppm); run with --r";
  EXPECT_NE(beside.err.find(out + note), std::string::npos) << beside.err;
  std::vector<std::string> replace = two;
  const ToolRun replaced = RunTool("strivex-render", (replace.push_back("--replace"), replace), scratch);
  EXPECT_EQ(replaced.err, "");
  EXPECT_EQ(FramesIn(out), (std::vector<std::string>{"image000.png", "image001.jpg", "image001.png", "image12.ppm",
                                                     "notes.txt"}));
}

TEST(RenderTool, WhatStopsARunBeforeItDrawsIsNamedWithItsReasonAndLeavesNoOutput) {
  ScratchDir scratch;
  const std::string out = scratch.File("out");
  const ToolRun missing = RunTool("strivex-render", {"--scene", "/nonexistent", "--output", out}, scratch);
  EXPECT_NE(missing.err.find("/nonexistent (--scene): No such file or directory"), std::string::npos) << missing.err;
  const ToolRun empty = RunTool("strivex-render", {"--scene", scratch.Path(), "--output", out}, scratch);
  EXPECT_EQ(empty.err, "strivex-render: cannot read De_209.asc in " + scratch.Path() +
                           ": No such file or directory; give --scene the directory that holds it and tex/\n");
  const ToolRun video = RunTool("strivex-render", {"--video", scratch.File("walk.mp4")}, scratch, {"PATH=/nonexistent"});
  EXPECT_EQ(video.err, "strivex-render: --video needs ffmpeg, which is not on PATH; install it (apt-get install "
                       "ffmpeg) or leave out --video\n");
  EXPECT_EQ(std::make_tuple(missing.status, empty.status, video.status), std::make_tuple(1, 1, 1));
  EXPECT_EQ(FramesIn(scratch.Path()), (std::vector<std::string>{"err.txt", "out.txt"}));
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
  EXPECT_EQ(RunTool("strivex-render", {"--frames", "3", "--size", "8x8"}, scratch, {}, terminal).status, 0);
  fcntl(master, F_SETFL, O_NONBLOCK);
  std::string shown(4096, '\0');
  shown.resize(std::max<ssize_t>(0, read(master, shown.data(), shown.size())));
  close(keepOpen);
  close(master);
  EXPECT_NE(shown.find("\rframe 3 of 3, 0:0"), std::string::npos) << shown;
  EXPECT_EQ(shown.find('\n'), std::string::npos) << "one line, rewritten";
  EXPECT_EQ(shown.substr(shown.size() - 4), "\r\033[K") << "erased at the end";
}

}  // namespace
