// Drawing the part tree in a real GL context: where each part's meshes land (captured in feedback
// mode), how the time stamp moves the cycle start, the render-mode flag reaching every mesh, and the
// capacity diagnostics of a part.
#include "motion/rig_part.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/view_state.h"
#include "model/model_library.h"
#include "motion/part_table.h"
#include "support/gl_probe.h"
#include "support/gl_test_context.h"
#include "support/global_tables_reset.h"

namespace {

// Window x and y of the lowest-left vertex that a draw produced.
struct Corner {
  float x, y;
};

Corner LowestCorner(const FeedbackCapture& capture) {
  Corner c{1e9f, 1e9f};
  for (const FeedbackVertex& v : capture.vertices) {
    c.x = std::min(c.x, v.x);
    c.y = std::min(c.y, v.y);
  }
  return c;
}

class DrawPartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(UseTestGlContext(TestSurfaceSize, TestSurfaceSize), nullptr);
    UseFlatColourLighting();
    ResetModelLibrary();
    ResetPartTable();
    saved = viewState;
    viewState.textured = 0;
    // Slots 0 and 1: a small triangle with its corner at the origin.
    const double xs[3] = {0.0, 0.25, 0.25};
    const double ys[3] = {0.0, 0.0, 0.25};
    const double zs[3] = {0.0, 0.0, 0.0};
    modelLibrary.slots[0].AddTriangle(xs, ys, zs);
    modelLibrary.slots[1].AddTriangle(xs, ys, zs);
  }
  void TearDown() override {
    viewState = saved;
    ResetPartTable();
    ResetModelLibrary();
  }
  static FeedbackCapture Draw(int part, uint32_t t, bool wireframe) {
    return CaptureFeedback([&] { partTable.parts[part].DrawPart(t, wireframe); });
  }
  ViewState saved{};
};

TEST_F(DrawPartTest, MeshesAreDisplacedByTheTriangleWave) {
  RigPart& part = partTable.parts[0];
  part.AddModel(0);
  part.motion = {0.5, 0.0, 0.0};
  part.period = 2000;
  part.startTime = 1000;
  const float origin = WindowCoordinate(0.0);
  // 500 ms into the cycle: factor 0.5, so half the motion.
  EXPECT_FLOAT_EQ(LowestCorner(Draw(0, 1500, true)).x, WindowCoordinate(0.25));
  EXPECT_FLOAT_EQ(LowestCorner(Draw(0, 2000, true)).x, WindowCoordinate(0.5));
  EXPECT_FLOAT_EQ(LowestCorner(Draw(0, 3000, true)).x, origin);
  EXPECT_EQ(part.startTime, 1000u);  // e equal to the period: no catch-up
  // Several periods later the start has moved up by whole periods.
  EXPECT_FLOAT_EQ(LowestCorner(Draw(0, 7500, true)).x, WindowCoordinate(0.25));
  EXPECT_EQ(part.startTime, 7000u);
}

TEST_F(DrawPartTest, ChildrenAddTheirMotionToTheirParents) {
  RigPart& parent = partTable.parts[0];
  RigPart& child = partTable.parts[3];
  parent.AddModel(0);
  parent.AddChild(3);
  parent.motion = {0.5, 0.0, 0.0};
  parent.period = 2000;
  parent.startTime = 1000;
  child.AddModel(1);
  child.motion = {0.0, 0.5, 0.0};
  child.period = 1000;
  child.startTime = 1500;
  const FeedbackCapture capture = Draw(0, 2000, false);
  ASSERT_EQ(capture.polygons, 2);
  ASSERT_EQ(capture.vertices.size(), 6u);
  // The parent's triangle: factor 1 along x. The child's: the parent's x plus its own factor 1 along y.
  EXPECT_FLOAT_EQ(capture.vertices[0].x, WindowCoordinate(0.5));
  EXPECT_FLOAT_EQ(capture.vertices[0].y, WindowCoordinate(0.0));
  EXPECT_FLOAT_EQ(capture.vertices[3].x, WindowCoordinate(0.5));
  EXPECT_FLOAT_EQ(capture.vertices[3].y, WindowCoordinate(0.5));
  // The subtree's transforms are undone afterwards.
  GLint depth = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1);
}

TEST_F(DrawPartTest, WireframeFlagReachesEveryMeshOfTheSubtree) {
  partTable.parts[0].AddModel(0);
  partTable.parts[0].AddChild(1);
  partTable.parts[1].AddModel(1);
  const FeedbackCapture lines = Draw(0, 100, true);
  EXPECT_EQ(lines.lines, 6);  // three edges per triangle
  EXPECT_EQ(lines.polygons, 0);
  const FeedbackCapture solid = Draw(0, 100, false);
  EXPECT_EQ(solid.lines, 0);
  EXPECT_EQ(solid.polygons, 2);
}

TEST_F(DrawPartTest, StillPartsAreStartedAndStayInPlace) {
  RigPart& part = partTable.parts[0];
  part.AddModel(0);
  part.motion = {0.5, 0.5, 0.0};  // no period: the motion is never applied
  EXPECT_FLOAT_EQ(LowestCorner(Draw(0, 0, true)).x, WindowCoordinate(0.0));
  EXPECT_EQ(part.startTime, 0u);  // a time stamp of 0 cannot mark a start
  Draw(0, 4321, true);
  EXPECT_EQ(part.startTime, 4321u);
  Draw(0, 9999, true);
  EXPECT_EQ(part.startTime, 4321u);
}

TEST_F(DrawPartTest, TimeStampBeforeTheStartKeepsThePhase) {
  // The manual clock ran ahead and the system clock took over again: t is 500 ms before the start.
  RigPart& part = partTable.parts[0];
  part.AddModel(0);
  part.motion = {0.5, 0.0, 0.0};
  part.period = 2000;
  part.startTime = 10000;
  EXPECT_FLOAT_EQ(LowestCorner(Draw(0, 9500, true)).x, WindowCoordinate(0.25));
  EXPECT_EQ(part.startTime, 8000u);
  // Far behind: still within the wave, phase kept.
  part.startTime = 1500000000u;
  Draw(0, 1000000, true);
  const uint32_t elapsed = 1000000u - part.startTime;
  EXPECT_LT(elapsed, 2000u);
  EXPECT_EQ((1500000000u - part.startTime) % 2000u, 0u);
}

TEST_F(DrawPartTest, CapacityOverflowIsDroppedWithADiagnostic) {
  RigPart& part = partTable.parts[2];
  for (int i = 0; i < MaxPartModels; ++i) part.AddModel(i);
  for (int i = 0; i < MaxPartChildren; ++i) part.AddChild(i + 3);
  testing::internal::CaptureStderr();
  part.AddModel(40);
  part.AddChild(9);
  const std::string diagnostics = testing::internal::GetCapturedStderr();
  EXPECT_EQ(diagnostics,
            "Error: attempted to put too many models in a part\n"
            "Error: attempted to put too many children on a part\n");
  EXPECT_EQ(part.modelCount, MaxPartModels);
  EXPECT_EQ(part.childCount, MaxPartChildren);
  EXPECT_EQ(part.models[MaxPartModels - 1], MaxPartModels - 1);
  EXPECT_EQ(part.children[MaxPartChildren - 1], MaxPartChildren + 2);
}

}  // namespace
