// Writing frame images from a real frame buffer: the exact bytes and console line, and what happens
// when a file cannot be written (no directory, a short write, no memory): no file claiming to be
// whole, one message per failure streak, the program going on.
#include "render/frame_capture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/view_state.h"
#include "render/ppm_image.h"
#include "support/child_process.h"
#include "support/gl_probe.h"
#include "support/gl_test_context.h"
#include "support/scratch_dir.h"

namespace {

const std::string Header64 = "P6\n# CREATOR: glDumpWindowPPM() by Wexmoor\n64 64\n255\n";

// Lines of our own output (the sanitizer's notes about refused allocations start with "==").
int Lines(const std::string& text) {
  int lines = 0;
  bool atStart = true;
  for (size_t i = 0; i < text.size(); ++i) {
    if (atStart && text.compare(i, 2, "==") != 0) ++lines;
    atStart = text[i] == '\n';
  }
  return lines;
}

class FrameCaptureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(UseTestGlContext(TestSurfaceSize, TestSurfaceSize), nullptr);
    ASSERT_FALSE(scratch.Path().empty());
    saved = viewState;
    savedCount = savedFrameCount;
    BeginCaptureRun();
    glDisable(GL_SCISSOR_TEST);
    glViewport(0, 0, TestSurfaceSize, TestSurfaceSize);
  }
  void TearDown() override {
    viewState = saved;
    savedFrameCount = savedCount;
    BeginCaptureRun();
    glDisable(GL_SCISSOR_TEST);
  }
  // Fills the surface with (10, 20, 30) and makes its top-left pixel pure red.
  static void PaintKnownPicture() {
    glClearColor(10 / 255.0f, 20 / 255.0f, 30 / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, TestSurfaceSize - 1, 1, 1);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
  }
  // Runs `write` and returns what it printed on stdout and stderr.
  template <typename F>
  static bool Capture(F write, std::string* out, std::string* err) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const bool result = write();
    std::fflush(stdout);
    *err = testing::internal::GetCapturedStderr();
    *out = testing::internal::GetCapturedStdout();
    return result;
  }
  ScratchDir scratch;
  ViewState saved{};
  int32_t savedCount = 0;
};

TEST_F(FrameCaptureTest, FileIsTheHeaderThenTheRasterTopRowFirst) {
  PaintKnownPicture();
  const std::string path = scratch.File("frame.ppm");
  std::string out, err;
  ASSERT_TRUE(Capture([&] { return WritePpmImage(path.c_str(), 64, 64); }, &out, &err));
  EXPECT_EQ(out, "Wrote 64 x 64 pixels image to file (12288 bytes)\n");
  EXPECT_EQ(err, "");
  const std::string file = ReadWholeFile(path);
  ASSERT_EQ(file.size(), Header64.size() + 64 * 64 * 3);
  EXPECT_EQ(file.substr(0, Header64.size()), Header64);
  const auto* raster = reinterpret_cast<const unsigned char*>(file.data() + Header64.size());
  // The window's top-left pixel comes first; a sample of 10 is the single byte 0x0A.
  EXPECT_EQ(raster[0], 255);
  EXPECT_EQ(raster[1], 0);
  EXPECT_EQ(raster[2], 0);
  EXPECT_EQ(raster[3], 10);
  EXPECT_EQ(raster[4], 20);
  EXPECT_EQ(raster[5], 30);
  size_t painted = 0;
  for (size_t i = 3; i < 64 * 64 * 3; i += 3) painted += raster[i] == 10 && raster[i + 1] == 20 && raster[i + 2] == 30;
  EXPECT_EQ(painted, 64u * 64u - 1u);
}

TEST_F(FrameCaptureTest, EmptyWindowWritesTheHeaderAlone) {
  const std::string path = scratch.File("empty.ppm");
  std::string out, err;
  ASSERT_TRUE(Capture([&] { return WritePpmImage(path.c_str(), 0, 64); }, &out, &err));
  EXPECT_EQ(out, "Wrote 0 x 64 pixels image to file (0 bytes)\n");
  EXPECT_EQ(ReadWholeFile(path), "P6\n# CREATOR: glDumpWindowPPM() by Wexmoor\n0 64\n255\n");
}

TEST_F(FrameCaptureTest, SaveFrameImageNumbersFilesAndCountsOnlyWrittenOnes) {
  WorkingDirectoryScope inScratch(scratch.Path());
  viewState.windowWidth = 8;
  viewState.windowHeight = 4;
  savedFrameCount = 41;
  std::string out, err;
  // No images/ directory: nothing is written, the number is kept, and one message says why.
  Capture([] { for (int i = 0; i < 5; ++i) SaveFrameImage(); return true; }, &out, &err);
  EXPECT_EQ(savedFrameCount, 41);
  EXPECT_EQ(out, "");
  EXPECT_EQ(Lines(err), 1) << err;
  EXPECT_NE(err.find("images/image041.ppm"), std::string::npos) << err;
  // Once the directory exists the sequence goes on without a gap.
  ASSERT_TRUE(scratch.MakeDir("images"));
  Capture([] { SaveFrameImage(); SaveFrameImage(); return true; }, &out, &err);
  EXPECT_EQ(savedFrameCount, 43);
  EXPECT_EQ(err, "");
  EXPECT_EQ(out, "Wrote 8 x 4 pixels image to file (96 bytes)\nWrote 8 x 4 pixels image to file (96 bytes)\n");
  EXPECT_TRUE(FileExists(scratch.File("images/image041.ppm")));
  EXPECT_TRUE(FileExists(scratch.File("images/image042.ppm")));
  // A failure after a success is reported again, once; so is one in a new manual run.
  std::filesystem::remove_all(scratch.File("images"));
  Capture([] { SaveFrameImage(); SaveFrameImage(); return true; }, &out, &err);
  EXPECT_EQ(Lines(err), 1) << err;
  BeginCaptureRun();
  Capture([] { SaveFrameImage(); return true; }, &out, &err);
  EXPECT_EQ(Lines(err), 1) << err;
  EXPECT_EQ(savedFrameCount, 43);
}

TEST_F(FrameCaptureTest, ShortWriteLeavesNoFileAndIsReportedOnce) {
  const std::string path = scratch.File("full.ppm");
  // A file size limit stands in for a full disk: the raster write comes up short.
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 1000;
  struct sigaction ignore{}, previous{};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &previous);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string out, err, out2, err2;
  const bool first = Capture([&] { return WritePpmImage(path.c_str(), 64, 64); }, &out, &err);
  const bool second = Capture([&] { return WritePpmImage(path.c_str(), 64, 64); }, &out2, &err2);
  setrlimit(RLIMIT_FSIZE, &old);
  sigaction(SIGXFSZ, &previous, nullptr);
  EXPECT_FALSE(first);
  EXPECT_FALSE(second);
  EXPECT_FALSE(FileExists(path));
  EXPECT_EQ(out + out2, "");  // no "Wrote" line for a file that is not there
  EXPECT_EQ(Lines(err), 1) << err;
  EXPECT_NE(err.find(path), std::string::npos) << err;
  EXPECT_EQ(err2, "");
  // The next good write succeeds normally.
  EXPECT_TRUE(Capture([&] { return WritePpmImage(path.c_str(), 64, 64); }, &out, &err));
  EXPECT_EQ(ReadWholeFile(path).size(), Header64.size() + 64 * 64 * 3);
}

TEST_F(FrameCaptureTest, BufferAllocationFailureSkipsTheFrame) {
  std::string output;
  const int status =
      RunChildTest("FrameCaptureChild.DISABLED_HugeWindowIsSkipped", "allocator_may_return_null=1:detect_leaks=0", &output);
  EXPECT_EQ(status, 0) << output;
  EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

// Runs only as the child of the test above, where the allocator returns null instead of ending
// the process.
TEST(FrameCaptureChild, DISABLED_HugeWindowIsSkipped) {
  if (std::getenv(ChildTestVariable) == nullptr) GTEST_SKIP() << "runs only in a child process";
  ScratchDir scratch;
  const std::string path = scratch.File("huge.ppm");
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  const bool first = WritePpmImage(path.c_str(), 2000000000, 2000000000);
  const bool second = WritePpmImage(path.c_str(), 2000000000, 2000000000);
  const std::string err = testing::internal::GetCapturedStderr();
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_FALSE(first);
  EXPECT_FALSE(second);
  EXPECT_FALSE(FileExists(path));
  EXPECT_EQ(out, "");
  EXPECT_EQ(Lines(err), 1) << err;
  EXPECT_NE(err.find("out of memory"), std::string::npos) << err;
}

}  // namespace
