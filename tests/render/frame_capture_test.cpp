// Writing frame images from a real frame buffer: the exact bytes and console line, and the frames
// that cannot be written (no directory, a short write, no memory): no file claiming to be whole,
// one message per failure streak, no gap in the numbering.
#include "render/frame_capture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/view_state.h"
#include "support/child_process.h"
#include "support/gl_test_context.h"
#include "support/scratch_dir.h"

namespace {

const std::string Header64 = "P6\n# CREATOR: glDumpWindowPPM() by Wexmoor\n64 64\n255\n";

// Lines of our own on stderr (the sanitizer's notes on refused allocations start with "==").
int Lines(const std::string& text) {
  int lines = 0;
  size_t at = 0;
  while (at < text.size()) {
    if (text.compare(at, 2, "==") != 0) ++lines;
    const size_t end = text.find('\n', at);
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return lines;
}

struct Output {
  std::string out, err;
};

template <typename F>
Output Captured(F run) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  run();
  std::fflush(stdout);
  Output o;
  o.err = testing::internal::GetCapturedStderr();
  o.out = testing::internal::GetCapturedStdout();
  return o;
}

class FrameCaptureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(UseTestGlContext());
    saved = viewState;
    savedCount = savedFrameCount;
    BeginCaptureRun();
  }
  void TearDown() override {
    viewState = saved;
    savedFrameCount = savedCount;
    BeginCaptureRun();
  }
  ScratchDir scratch;
  ViewState saved{};
  int32_t savedCount = 0;
};

TEST_F(FrameCaptureTest, FileIsTheHeaderThenTheRasterTopRowFirst) {
  // The surface in (10, 20, 30), its top-left pixel pure red.
  glClearColor(10 / 255.0f, 20 / 255.0f, 30 / 255.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_SCISSOR_TEST);
  glScissor(0, TestSurfaceSize - 1, 1, 1);
  glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_SCISSOR_TEST);
  const std::string path = scratch.File("frame.ppm");
  bool written = false;
  Output o = Captured([&] { written = WritePpmImage(path.c_str(), 64, 64); });
  EXPECT_TRUE(written);
  EXPECT_EQ(o.out, "Wrote 64 x 64 pixels image to file (12288 bytes)\n");
  const std::string file = ReadWholeFile(path);
  ASSERT_EQ(file.size(), Header64.size() + 64 * 64 * 3);
  EXPECT_EQ(file.substr(0, Header64.size()), Header64);
  // The window's top-left pixel first; every sample one byte (10 is the single byte 0x0A).
  EXPECT_EQ(file.substr(Header64.size(), 6), std::string("\xFF\x00\x00\x0A\x14\x1E", 6));
  EXPECT_EQ(file.substr(file.size() - 3), "\x0A\x14\x1E");
  // An empty window: the header alone.
  o = Captured([&] { written = WritePpmImage(path.c_str(), 0, 64); });
  EXPECT_TRUE(written);
  EXPECT_EQ(o.out, "Wrote 0 x 64 pixels image to file (0 bytes)\n");
  EXPECT_EQ(ReadWholeFile(path), "P6\n# CREATOR: glDumpWindowPPM() by Wexmoor\n0 64\n255\n");
}

TEST_F(FrameCaptureTest, MissingDirectoryIsReportedOncePerStreakWithoutGaps) {
  WorkingDirectoryScope inScratch(scratch.Path());
  viewState.windowWidth = 8;
  viewState.windowHeight = 4;
  savedFrameCount = 41;
  auto save = [](int times) {
    for (int i = 0; i < times; ++i) SaveFrameImage();
  };
  Output o = Captured([&] { save(5); });  // no images/: nothing written, number kept, one message
  EXPECT_EQ(savedFrameCount, 41);
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(Lines(o.err), 1) << o.err;
  EXPECT_NE(o.err.find("images/image041.ppm"), std::string::npos) << o.err;
  ASSERT_TRUE(scratch.MakeDir("images"));  // the sequence goes on without a gap
  o = Captured([&] { save(2); });
  EXPECT_EQ(savedFrameCount, 43);
  EXPECT_EQ(o.err, "");
  EXPECT_EQ(o.out, "Wrote 8 x 4 pixels image to file (96 bytes)\nWrote 8 x 4 pixels image to file (96 bytes)\n");
  EXPECT_TRUE(FileExists("images/image041.ppm") && FileExists("images/image042.ppm"));
  std::filesystem::remove_all("images");  // failing after a success: said again, once
  EXPECT_EQ(Lines(Captured([&] { save(2); }).err), 1);
  BeginCaptureRun();  // and once more in a new manual run
  EXPECT_EQ(Lines(Captured([&] { save(2); }).err), 1);
}

TEST_F(FrameCaptureTest, ShortWriteLeavesNoFile) {
  const std::string path = scratch.File("full.ppm");
  // A file size limit stands in for a full disk: the raster write comes up short.
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 1000;
  struct sigaction ignore {}, previous{};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &previous);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool first = true, second = true;
  const Output o = Captured([&] {
    first = WritePpmImage(path.c_str(), 64, 64);
    second = WritePpmImage(path.c_str(), 64, 64);
  });
  setrlimit(RLIMIT_FSIZE, &old);
  sigaction(SIGXFSZ, &previous, nullptr);
  EXPECT_FALSE(first || second);
  EXPECT_FALSE(FileExists(path));
  EXPECT_EQ(o.out, "");  // no "Wrote" line for a file that is not there
  EXPECT_EQ(Lines(o.err), 1) << o.err;
  EXPECT_NE(o.err.find(path), std::string::npos) << o.err;
}

TEST_F(FrameCaptureTest, BufferAllocationFailureSkipsTheFrame) {
  std::string output;
  const int status = RunChildTest("FrameCaptureChild.DISABLED_HugeWindowIsSkipped",
                                  "allocator_may_return_null=1:detect_leaks=0", &output);
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

// Runs only as the child of the test above, where the allocator returns null instead of ending
// the process.
TEST(FrameCaptureChild, DISABLED_HugeWindowIsSkipped) {
  if (std::getenv(ChildTestVariable) == nullptr) GTEST_SKIP() << "runs only in a child process";
  ScratchDir scratch;
  const std::string path = scratch.File("huge.ppm");
  bool written = true;
  const Output o = Captured([&] {
    written = WritePpmImage(path.c_str(), 2000000000, 2000000000) || WritePpmImage(path.c_str(), 2000000000, 2000000000);
  });
  EXPECT_FALSE(written);
  EXPECT_FALSE(FileExists(path));
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(Lines(o.err), 1) << o.err;
  EXPECT_NE(o.err.find("out of memory"), std::string::npos) << o.err;
}

}  // namespace
