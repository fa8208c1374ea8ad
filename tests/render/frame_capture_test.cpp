// Frame images from a real frame buffer: the name rule, the exact bytes and console line, and frames
// that cannot be written (no directory, a short write, no memory): no file claiming to be whole,
// one message per failure streak, no gap in the numbering.
#include "render/frame_capture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/view_state.h"
#include "render/ppm_image.h"
#include "support/child_process.h"
#include "support/gl_test_context.h"
#include "support/scratch_dir.h"

namespace {

// What `run` printed: standard output, then the number of failure messages on standard error.
template <typename F>
std::string Printed(F run) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  run();
  std::fflush(stdout);
  const std::string err = testing::internal::GetCapturedStderr();
  int messages = 0;
  for (size_t at = err.find("Frame not saved"); at != std::string::npos; at = err.find("Frame not saved", at + 1))
    ++messages;
  return testing::internal::GetCapturedStdout() + std::to_string(messages);
}

TEST(FrameCapture, FileIsTheHeaderThenTheRasterTopRowFirst) {
  char name[FrameImageNameSize];
  FrameImageName(1000, name);
  EXPECT_STREQ(name, "images/image1000.ppm");
  ASSERT_TRUE(UseTestGlContext());
  glClearColor(10 / 255.0f, 20 / 255.0f, 30 / 255.0f, 1.0f);  // every sample one byte: 10 is 0x0A
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_SCISSOR_TEST);
  glScissor(0, TestSurfaceSize - 1, 1, 1);  // the top-left pixel pure red
  glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_SCISSOR_TEST);
  ScratchDir scratch;
  const std::string path = scratch.File("frame.ppm"),
                    header = "P6\n# CREATOR: glDumpWindowPPM() by Wexmoor\n64 64\n255\n";
  EXPECT_EQ(Printed([&] { WritePpmImage(path.c_str(), 64, 64); }),
            "Wrote 64 x 64 pixels image to file (12288 bytes)\n0");
  std::string raster(64 * 64 * 3, '\0');
  for (size_t i = 0; i < raster.size(); i += 3) raster.replace(i, 3, i ? "\x0A\x14\x1E" : "\xFF\0\0", 3);
  EXPECT_TRUE(ReadWholeFile(path) == header + raster);
  EXPECT_EQ(Printed([&] { WritePpmImage(path.c_str(), 0, 64); }), "Wrote 0 x 64 pixels image to file (0 bytes)\n0");
  EXPECT_EQ(ReadWholeFile(path), "P6\n# CREATOR: glDumpWindowPPM() by Wexmoor\n0 64\n255\n");
}

TEST(FrameCapture, FailedSavesLeaveNoFileNoGapAndOneMessagePerStreak) {
  ASSERT_TRUE(UseTestGlContext());
  ScratchDir scratch;
  WorkingDirectoryScope inScratch(scratch.Path());
  const ViewState saved = viewState;
  viewState.windowWidth = viewState.windowHeight = 64;
  savedFrameCount = 41;
  BeginCaptureRun();
  auto save = [](int times) {
    const std::string printed = Printed([&] {
      for (int i = 0; i < times; ++i) SaveFrameImage();
    });
    return printed + ":" + std::to_string(savedFrameCount);
  };
  EXPECT_EQ(save(5), "1:41");  // no images/ directory
  ASSERT_TRUE(scratch.MakeDir("images"));
  rlimit old{}, small{};  // a file size limit stands in for a full disk: the raster write comes up short
  getrlimit(RLIMIT_FSIZE, &old);
  small = old;
  small.rlim_cur = 1000;
  signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &small);
  EXPECT_EQ(save(3), "1:41");
  setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_FALSE(FileExists("images/image041.ppm"));
  EXPECT_EQ(save(2),
            "Wrote 64 x 64 pixels image to file (12288 bytes)\nWrote 64 x 64 pixels image to file (12288 bytes)\n0:43");
  EXPECT_TRUE(FileExists("images/image041.ppm") && FileExists("images/image042.ppm"));
  std::filesystem::remove_all("images");  // failing after a success: said again, once
  EXPECT_EQ(save(2), "1:43");
  BeginCaptureRun();  // and once more in a new manual run
  EXPECT_EQ(save(2), "1:43");
  viewState = saved;
  savedFrameCount = 0;
  BeginCaptureRun();
}

TEST(FrameCapture, BufferAllocationFailureSkipsTheFrame) {
  std::string output;
  EXPECT_EQ(
      RunChildTest("FrameCaptureChild.DISABLED_HugeWindow", "allocator_may_return_null=1:detect_leaks=0", &output), 0);
  EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

// Runs only as the child of the test above, where the allocator returns null instead of ending
// the process.
TEST(FrameCaptureChild, DISABLED_HugeWindow) {
  if (std::getenv(ChildTestVariable) == nullptr) GTEST_SKIP();
  EXPECT_EQ(Printed([] {
              WritePpmImage("huge.ppm", 2000000000, 2000000000), WritePpmImage("huge.ppm", 2000000000, 2000000000);
            }),
            "1");
  EXPECT_FALSE(FileExists("huge.ppm"));
}

}  // namespace
