// The user's controls on the real programs under Xvfb, checked in the frames that manual mode
// saves: render modes by key and by menu (with the menu's marks), upper-case keys ignored, the
// background set, orbiting by drag with the elevation bounds, image numbering across manual runs
// and the console lines that go with them, and a clean end when the window is closed.
// Every scenario runs on the optimised program; the sanitized program runs all of them in one
// session.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "e2e/viewer_session.h"

namespace fs = std::filesystem;
using e2e::Colour;
using e2e::Frame;
using e2e::Marks;
using e2e::MenuMarks;
using e2e::ViewerSession;

namespace {

enum class Mode { Textured, Solid, Wireframe, Unclear };

const char* Name(Mode mode) {
  switch (mode) {
    case Mode::Textured: return "Textured";
    case Mode::Solid: return "Solid";
    case Mode::Wireframe: return "Wireframe";
    case Mode::Unclear: break;
  }
  return "unclear";
}

struct ObjectColours {
  Colour chrome, hood, plain, ground;
};

ObjectColours Sample(const Frame& frame) {
  auto at = [&](const e2e::SceneBox& box) {
    const e2e::WindowPoint p = e2e::FrontFaceMiddle(box);
    return frame.MeanAround(p.x, p.y, 6);
  };
  return {at(e2e::kChromeBox), at(e2e::kHoodBox), at(e2e::kPlainBox), frame.MeanOfRows(e2e::kGroundFirstRow, e2e::kGroundLastRow)};
}

std::string Describe(const ObjectColours& c) {
  return "chrome box " + e2e::Describe(c.chrome) + ", hood box " + e2e::Describe(c.hood) + ", default box " +
         e2e::Describe(c.plain) + ", ground " + e2e::Describe(c.ground);
}

// What the boxes look like in each mode: textured, the chrome box shows its red texture and the
// hood box its blue one; solid, the chrome box is neutral grey and the hood box bluish grey; in
// wireframe both are see-through, showing mostly the ground behind their edges.
Mode ModeSeen(const Frame& frame) {
  const ObjectColours c = Sample(frame);
  auto seeThrough = [&](const e2e::SceneBox& box) {
    const e2e::WindowPoint p = e2e::FrontFaceMiddle(box);
    return frame.ShareNear(p.x, p.y, 8, c.ground, 12.0) >= 0.6;
  };
  if (seeThrough(e2e::kChromeBox) && seeThrough(e2e::kHoodBox)) return Mode::Wireframe;
  if (c.chrome.r > 100 && c.chrome.g < 50 && c.chrome.b < 50 && c.hood.b > 100 && c.hood.r < 50 && c.hood.g < 50) {
    return Mode::Textured;
  }
  if (c.chrome.Spread() < 8 && c.chrome.Brightness() > 60 && c.hood.b - c.hood.r > 10 && std::fabs(c.hood.r - c.hood.g) < 8) {
    return Mode::Solid;
  }
  return Mode::Unclear;
}

// The default-material box is never textured: the same plain grey in Textured and Solid mode.
void ExpectPlainBoxGrey(const Frame& frame) {
  const Colour plain = Sample(frame).plain;
  EXPECT_LT(plain.Spread(), 8) << e2e::Describe(plain);
  EXPECT_GT(plain.Brightness(), 20) << e2e::Describe(plain);
}

#define EXPECT_MODE(frame, mode) \
  EXPECT_STREQ(Name(ModeSeen(frame)), Name(mode)) << Describe(Sample(frame))

class ControlsE2e : public e2e::XvfbSuite {
 protected:
  void SetUp() override {
    directory = fs::temp_directory_path() / ("strivex-e2e-" + std::to_string(getpid()) + "-" +
                                             testing::UnitTest::GetInstance()->current_test_info()->name());
    ASSERT_TRUE(ViewerSession::PrepareDirectory(directory));
  }
  void TearDown() override {
    session.reset();
    if (!HasFailure()) fs::remove_all(directory);
  }

  ViewerSession& Open(const std::string& program) {
    session = std::make_unique<ViewerSession>(server, program, directory);
    return *session;
  }

  // The end every session must have: status 0 on the close request and nothing from the
  // sanitizers.
  void ExpectCleanEnd() {
    int status = -1;
    ASSERT_TRUE(session->CloseAndWait(&status)) << session->Errors();
    EXPECT_EQ(status, 0);
    const std::string errors = session->Errors();
    EXPECT_EQ(errors.find("Sanitizer"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("runtime error"), std::string::npos) << errors;
  }

  fs::path directory;
  std::unique_ptr<ViewerSession> session;
};


// --- Scenarios, each starting and ending in Textured mode, background set 0, speed Medium, the
// starting camera, and manual mode off -----------------------------------------------------------

// Every transition of the render-mode table, by key: q Textures, w Solid, e Wireframe.
void KeysFollowTheRenderModeTable(ViewerSession& viewer) {
  Frame frame;
  ASSERT_TRUE(viewer.CaptureFrame(&frame));
  EXPECT_MODE(frame, Mode::Textured);
  ExpectPlainBoxGrey(frame);
  const Colour plainTextured = Sample(frame).plain;

  const struct {
    const char* key;
    Mode after;
  } steps[] = {
      {"w", Mode::Solid},     {"w", Mode::Textured},  {"q", Mode::Solid}, {"q", Mode::Textured},
      {"e", Mode::Wireframe}, {"e", Mode::Solid},     {"e", Mode::Wireframe}, {"w", Mode::Solid},
      {"e", Mode::Wireframe}, {"q", Mode::Textured},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(std::string("key ") + step.key + " gives " + Name(step.after));
    ASSERT_TRUE(viewer.Key(step.key));
    ASSERT_TRUE(viewer.CaptureFrame(&frame));
    EXPECT_MODE(frame, step.after);
    if (step.after == Mode::Solid) {
      ExpectPlainBoxGrey(frame);
      const Colour plain = Sample(frame).plain;
      EXPECT_NEAR(plain.Brightness(), plainTextured.Brightness(), 6) << e2e::Describe(plain) << " vs " << e2e::Describe(plainTextured);
    }
  }
}

// Q, W, E, S, D and M are not the lower-case keys: no mode change, no background change, no
// manual mode.
void UpperCaseKeysChangeNothing(ViewerSession& viewer) {
  Frame before, after;
  ASSERT_TRUE(viewer.CaptureFrame(&before));
  MenuMarks marksBefore, marksAfter;
  ASSERT_TRUE(viewer.CurrentMarks(&marksBefore));
  const int images = viewer.ImageCount();
  for (const char* key : {"Q", "W", "E", "S", "D", "M"}) ASSERT_TRUE(viewer.Key(key)) << key;
  // Had M started manual mode, images would appear within a few frames.
  EXPECT_FALSE(e2e::WaitFor([&] { return viewer.ImageCount() > images; }, 1.0)) << "upper-case M saved images";
  ASSERT_TRUE(viewer.CaptureFrame(&after));
  EXPECT_MODE(after, Mode::Textured);
  EXPECT_TRUE(e2e::RowsIdentical(before, after, e2e::kSkyFirstRow, e2e::kSkyLastRow)) << "the sky changed";
  EXPECT_GT(Sample(after).ground.g - Sample(after).ground.r, 60) << "the ground is no longer grass";
  ASSERT_TRUE(viewer.CurrentMarks(&marksAfter));
  EXPECT_EQ(marksAfter, marksBefore);
}

// The menu's choices act like the keys, and the menu shows the current mode and speed with its
// "o " marks; the speed keys move the speed mark.
void MenuChoicesActAndMarkTheCurrentChoice(ViewerSession& viewer) {
  Frame frame;
  MenuMarks shown;
  ASSERT_TRUE(viewer.MenuChoice(1, &shown));  // Textures while Textured
  EXPECT_EQ(shown, Marks(true, false, false, false, true, false));
  ASSERT_TRUE(viewer.CaptureFrame(&frame));
  EXPECT_MODE(frame, Mode::Solid);

  ASSERT_TRUE(viewer.MenuChoice(3, &shown));  // Wireframe while Solid
  EXPECT_EQ(shown, Marks(false, true, false, false, true, false));
  ASSERT_TRUE(viewer.CaptureFrame(&frame));
  EXPECT_MODE(frame, Mode::Wireframe);

  ASSERT_TRUE(viewer.MenuChoice(2, &shown));  // Solid while Wireframe
  EXPECT_EQ(shown, Marks(false, false, true, false, true, false));
  ASSERT_TRUE(viewer.CaptureFrame(&frame));
  EXPECT_MODE(frame, Mode::Solid);

  ASSERT_TRUE(viewer.MenuChoice(2, &shown));  // Solid while Solid
  EXPECT_EQ(shown, Marks(false, true, false, false, true, false));
  ASSERT_TRUE(viewer.CaptureFrame(&frame));
  EXPECT_MODE(frame, Mode::Textured);

  ASSERT_TRUE(viewer.MenuChoice(6, &shown));  // Fast
  EXPECT_EQ(shown, Marks(true, false, false, false, true, false));
  ASSERT_TRUE(viewer.MenuChoice(4, &shown));  // Slow
  EXPECT_EQ(shown, Marks(true, false, false, false, false, true));
  ASSERT_TRUE(viewer.CurrentMarks(&shown));
  EXPECT_EQ(shown, Marks(true, false, false, true, false, false));

  ASSERT_TRUE(viewer.Key("3"));
  ASSERT_TRUE(viewer.CurrentMarks(&shown));
  EXPECT_EQ(shown, Marks(true, false, false, false, false, true)) << "after key 3";
  ASSERT_TRUE(viewer.Key("1"));
  ASSERT_TRUE(viewer.CurrentMarks(&shown));
  EXPECT_EQ(shown, Marks(true, false, false, true, false, false)) << "after key 1";
  ASSERT_TRUE(viewer.Key("2"));
  ASSERT_TRUE(viewer.Key("w"));
  ASSERT_TRUE(viewer.CurrentMarks(&shown));
  EXPECT_EQ(shown, Marks(false, true, false, false, true, false)) << "after keys 2 and w";
  ASSERT_TRUE(viewer.Key("q"));
}

// Key s swaps grass under the sky for a grey floor under the stars, and back.
void BackgroundKeySwapsGroundAndSky(ViewerSession& viewer) {
  Frame set0, set1, back;
  ASSERT_TRUE(viewer.CaptureFrame(&set0));
  const Colour sky0 = set0.MeanOfRows(e2e::kSkyFirstRow, e2e::kSkyLastRow);
  const Colour ground0 = Sample(set0).ground;
  EXPECT_GT(sky0.b, 100) << "sky " << e2e::Describe(sky0);
  EXPECT_GT(ground0.g - ground0.r, 60) << "ground " << e2e::Describe(ground0);

  ASSERT_TRUE(viewer.Key("s"));
  ASSERT_TRUE(viewer.CaptureFrame(&set1));
  const Colour sky1 = set1.MeanOfRows(e2e::kSkyFirstRow, e2e::kSkyLastRow);
  const Colour ground1 = Sample(set1).ground;
  EXPECT_LT(sky1.Brightness(), 20) << "stars " << e2e::Describe(sky1);
  EXPECT_LT(ground1.Spread(), 8) << "grey floor " << e2e::Describe(ground1);
  EXPECT_GT(ground1.Brightness(), 40) << "grey floor " << e2e::Describe(ground1);
  EXPECT_MODE(set1, Mode::Textured);

  ASSERT_TRUE(viewer.Key("s"));
  ASSERT_TRUE(viewer.CaptureFrame(&back));
  EXPECT_TRUE(e2e::RowsIdentical(back, set0, e2e::kSkyFirstRow, e2e::kSkyLastRow)) << "the first sky did not come back";
  EXPECT_GT(Sample(back).ground.g - Sample(back).ground.r, 60) << "ground " << e2e::Describe(Sample(back).ground);
}

// A left drag turns the camera from the angles at the press: moving back to the press point gives
// exactly the starting view, the elevation stops at -10 degrees, and motion without a button turns
// nothing. The sky is drawn in the same place whatever the time, so equal views give equal sky rows.
void DragOrbitsFromThePressPoint(ViewerSession& viewer) {
  const int m = ViewerSession::kMiddle;
  Frame start, turned, restored, flat, clamped, tilted, passive;
  ASSERT_TRUE(viewer.CaptureFrame(&start));

  ASSERT_TRUE(viewer.LeftPress(m, m));
  ASSERT_TRUE(viewer.PointerTo(m + 60, m));  // azimuth + 30 degrees
  ASSERT_TRUE(viewer.CaptureFrame(&turned));
  EXPECT_GT(e2e::RowsDifference(start, turned, e2e::kSkyFirstRow, e2e::kSkyLastRow), 4.0) << "turning did not change the sky";

  ASSERT_TRUE(viewer.PointerTo(m, m - 60));  // elevation 20 - 30 = -10, the lower bound
  ASSERT_TRUE(viewer.CaptureFrame(&flat));
  ASSERT_TRUE(viewer.PointerTo(m, m - 100));  // -30, held at -10
  ASSERT_TRUE(viewer.CaptureFrame(&clamped));
  ASSERT_TRUE(viewer.PointerTo(m, m - 40));  // 0
  ASSERT_TRUE(viewer.CaptureFrame(&tilted));
  EXPECT_TRUE(e2e::RowsIdentical(flat, clamped, e2e::kSkyFirstRow, e2e::kSkyLastRow)) << "the elevation went below -10";
  EXPECT_GT(e2e::RowsDifference(flat, tilted, e2e::kSkyFirstRow, e2e::kSkyLastRow), 1.0) << "tilting did not change the sky";
  EXPECT_GT(e2e::RowsDifference(flat, start, e2e::kSkyFirstRow, e2e::kSkyLastRow), 1.0) << "tilting did not change the sky";

  ASSERT_TRUE(viewer.PointerTo(m, m));
  ASSERT_TRUE(viewer.LeftRelease());
  ASSERT_TRUE(viewer.CaptureFrame(&restored));
  EXPECT_TRUE(e2e::RowsIdentical(start, restored, e2e::kSkyFirstRow, e2e::kSkyLastRow)) << "the view did not return";

  ASSERT_TRUE(viewer.PointerTo(m + 150, m - 150));
  ASSERT_TRUE(viewer.CaptureFrame(&passive));
  EXPECT_TRUE(e2e::RowsIdentical(start, passive, e2e::kSkyFirstRow, e2e::kSkyLastRow)) << "motion without a button turned the view";
  ASSERT_TRUE(viewer.PointerTo(m, m));
}

// Manual runs number their images on from the previous run, one console line per image; the first
// image of a run is the frame shown just before it (the back buffer keeps the presented frame).
void ManualRunsNumberImagesOnAndReportEach(ViewerSession& viewer) {
  const int first = viewer.ImageCount();
  ASSERT_EQ(viewer.WroteLineCount(), first);

  // A second m or d while already in that mode changes nothing.
  ASSERT_TRUE(viewer.Key("m"));
  ASSERT_TRUE(e2e::WaitFor([&] { return viewer.ImageCount() >= first + 2; }, 15.0));
  ASSERT_TRUE(viewer.Key("m"));
  ASSERT_TRUE(e2e::WaitFor([&] { return viewer.ImageCount() >= first + 4; }, 15.0));
  ASSERT_TRUE(viewer.Key("d"));
  ASSERT_TRUE(viewer.Key("d"));
  ASSERT_TRUE(viewer.WaitUntilSavingStops());
  const int second = viewer.ImageCount();
  const std::string firstOfRun1 = e2e::ReadFile(viewer.ImagePath(first));
  const std::string lastOfRun1 = e2e::ReadFile(viewer.ImagePath(second - 1));

  const int last = viewer.ManualRun();
  ASSERT_GE(last, second + 2);
  EXPECT_EQ(viewer.ImageCount(), last + 1) << "images are missing or were overwritten";
  EXPECT_EQ(viewer.WroteLineCount(), last + 1);
  for (int n = 0; n <= last; ++n) {
    Frame frame;
    EXPECT_TRUE(viewer.LoadFrame(n, &frame));
  }
  EXPECT_EQ(e2e::ReadFile(viewer.ImagePath(first)), firstOfRun1) << "the second run overwrote the first";
  EXPECT_EQ(e2e::ReadFile(viewer.ImagePath(second - 1)), lastOfRun1) << "the second run overwrote the first";

  // The console: after the load line only the image lines.
  const std::string console = viewer.Console();
  const size_t loaded = console.find("7:Plain; \n");
  ASSERT_NE(loaded, std::string::npos) << console;
  std::string expected;
  for (int n = 0; n <= last; ++n) expected += "Wrote 500 x 500 pixels image to file (750000 bytes)\n";
  EXPECT_EQ(console.substr(loaded + 10), expected);

  // Nothing moved the camera: the first image of each run shows the same sky as the others.
  Frame a, b, c;
  ASSERT_TRUE(viewer.LoadFrame(first, &a));
  ASSERT_TRUE(viewer.LoadFrame(first + 1, &b));
  ASSERT_TRUE(viewer.LoadFrame(second, &c));
  EXPECT_TRUE(e2e::RowsIdentical(a, b, e2e::kSkyFirstRow, e2e::kSkyLastRow)) << "the first image of a run is not a drawn frame";
  EXPECT_TRUE(e2e::RowsIdentical(b, c, e2e::kSkyFirstRow, e2e::kSkyLastRow)) << "the first image of a run is not a drawn frame";
  EXPECT_MODE(a, Mode::Textured);
  EXPECT_MODE(c, Mode::Textured);
}

// --- Optimised program: one scenario per session ----------------------------------------------

TEST_F(ControlsE2e, KeysFollowTheRenderModeTable) {
  ViewerSession& viewer = Open("strivex-release");
  ASSERT_TRUE(viewer.Start());
  KeysFollowTheRenderModeTable(viewer);
  if (HasFatalFailure()) return;
  ExpectCleanEnd();
}

TEST_F(ControlsE2e, UpperCaseKeysChangeNothing) {
  ViewerSession& viewer = Open("strivex-release");
  ASSERT_TRUE(viewer.Start());
  UpperCaseKeysChangeNothing(viewer);
  if (HasFatalFailure()) return;
  ExpectCleanEnd();
}

TEST_F(ControlsE2e, MenuChoicesActAndMarkTheCurrentChoice) {
  ViewerSession& viewer = Open("strivex-release");
  ASSERT_TRUE(viewer.Start());
  MenuChoicesActAndMarkTheCurrentChoice(viewer);
  if (HasFatalFailure()) return;
  ExpectCleanEnd();
}

TEST_F(ControlsE2e, BackgroundKeySwapsGroundAndSky) {
  ViewerSession& viewer = Open("strivex-release");
  ASSERT_TRUE(viewer.Start());
  BackgroundKeySwapsGroundAndSky(viewer);
  if (HasFatalFailure()) return;
  ExpectCleanEnd();
}

TEST_F(ControlsE2e, DragOrbitsFromThePressPoint) {
  ViewerSession& viewer = Open("strivex-release");
  ASSERT_TRUE(viewer.Start());
  DragOrbitsFromThePressPoint(viewer);
  if (HasFatalFailure()) return;
  ExpectCleanEnd();
}

TEST_F(ControlsE2e, ManualRunsNumberImagesOnAndReportEach) {
  ViewerSession& viewer = Open("strivex-release");
  ASSERT_TRUE(viewer.Start());
  ManualRunsNumberImagesOnAndReportEach(viewer);
  if (HasFatalFailure()) return;
  ExpectCleanEnd();
}

// --- Sanitized program: everything in one session ----------------------------------------------

TEST_F(ControlsE2e, SanitizedProgramThroughEveryScenario) {
  ViewerSession& viewer = Open("strivex");
  ASSERT_TRUE(viewer.Start());
  for (auto scenario : {KeysFollowTheRenderModeTable, UpperCaseKeysChangeNothing, MenuChoicesActAndMarkTheCurrentChoice,
                        BackgroundKeySwapsGroundAndSky, DragOrbitsFromThePressPoint}) {
    scenario(viewer);
    if (HasFatalFailure()) return;
  }
  // The numbering scenario last: it checks the console from the start of the run.
  ManualRunsNumberImagesOnAndReportEach(viewer);
  if (HasFatalFailure()) return;
  ExpectCleanEnd();
}

}  // namespace
