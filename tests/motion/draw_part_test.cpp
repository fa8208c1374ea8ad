// Drawing the part tree in a real GL context: where each part's meshes land (vertices captured in
// feedback mode), how drawing moves the cycle start, the wireframe flag reaching the whole
// subtree, and the capacity diagnostics of a part.
#include "motion/rig_part.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/view_state.h"
#include "model/model_library.h"
#include "motion/part_table.h"
#include "support/gl_probe.h"
#include "support/gl_test_context.h"
#include "support/global_tables_reset.h"

namespace {

class DrawPartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(UseTestGlContext());
    UseFlatColourLighting();
    ResetModelLibrary();
    ResetPartTable();
    saved = viewState;
    viewState.textured = 0;
    // Slots 0 and 1: a small triangle with its corner A at the origin.
    const double xs[3] = {0.0, 0.25, 0.25}, ys[3] = {0.0, 0.0, 0.25}, zs[3] = {0.0, 0.0, 0.0};
    modelLibrary.slots[0].AddTriangle(xs, ys, zs);
    modelLibrary.slots[1].AddTriangle(xs, ys, zs);
  }
  void TearDown() override {
    viewState = saved;
    ResetPartTable();
    ResetModelLibrary();
  }
  static void Move(int part, Vec3 motion, uint32_t period, uint32_t startTime) {
    partTable.parts[part].motion = motion;
    partTable.parts[part].period = period;
    partTable.parts[part].startTime = startTime;
  }
  // Window x of corner A of the first triangle drawn.
  static float FirstCornerX(uint32_t t) {
    const FeedbackCapture capture = CaptureFeedback([&] { partTable.parts[0].DrawPart(t, true); });
    return capture.vertices.empty() ? -1.0f : capture.vertices[0].x;
  }
  ViewState saved{};
};

TEST_F(DrawPartTest, MeshesAreDisplacedByTheTriangleWave) {
  partTable.parts[0].AddModel(0);
  Move(0, {0.5, 0.0, 0.0}, 2000, 1000);
  EXPECT_FLOAT_EQ(FirstCornerX(1500), WindowCoordinate(0.25));  // factor 0.5
  EXPECT_FLOAT_EQ(FirstCornerX(2000), WindowCoordinate(0.5));  // factor 1
  EXPECT_FLOAT_EQ(FirstCornerX(3000), WindowCoordinate(0.0));  // a whole period: no catch-up yet
  EXPECT_EQ(partTable.parts[0].startTime, 1000u);
  EXPECT_FLOAT_EQ(FirstCornerX(7500), WindowCoordinate(0.25));  // three periods later
  EXPECT_EQ(partTable.parts[0].startTime, 7000u);
  EXPECT_FLOAT_EQ(FirstCornerX(6500), WindowCoordinate(0.25));  // a time stamp before the start
  EXPECT_EQ(partTable.parts[0].startTime, 5000u);
  // Without a period nothing moves, but the first draw still marks the start (0 cannot).
  Move(0, {0.5, 0.5, 0.0}, 0, 0);
  EXPECT_FLOAT_EQ(FirstCornerX(0), WindowCoordinate(0.0));
  EXPECT_EQ(partTable.parts[0].startTime, 0u);
  FirstCornerX(4321);
  FirstCornerX(9999);
  EXPECT_EQ(partTable.parts[0].startTime, 4321u);
}

TEST_F(DrawPartTest, ChildrenAddTheirMotionAndGetTheSameFlag) {
  partTable.parts[0].AddModel(0);
  partTable.parts[0].AddChild(3);
  partTable.parts[3].AddModel(1);
  Move(0, {0.5, 0.0, 0.0}, 2000, 1000);
  Move(3, {0.0, 0.5, 0.0}, 1000, 1500);
  const FeedbackCapture solid = CaptureFeedback([] { partTable.parts[0].DrawPart(2000, false); });
  ASSERT_EQ(solid.polygons, 2);
  EXPECT_EQ(solid.lines, 0);
  // The parent at factor 1 along x; the child adds its own factor 1 along y.
  EXPECT_FLOAT_EQ(solid.vertices[0].x, WindowCoordinate(0.5));
  EXPECT_FLOAT_EQ(solid.vertices[0].y, WindowCoordinate(0.0));
  EXPECT_FLOAT_EQ(solid.vertices[3].x, WindowCoordinate(0.5));
  EXPECT_FLOAT_EQ(solid.vertices[3].y, WindowCoordinate(0.5));
  const FeedbackCapture lines = CaptureFeedback([] { partTable.parts[0].DrawPart(2000, true); });
  EXPECT_EQ(lines.lines, 6);
  EXPECT_EQ(lines.polygons, 0);
  GLint depth = 0;  // every push of the subtree popped
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1);
}

TEST_F(DrawPartTest, CapacityOverflowIsDroppedWithADiagnostic) {
  RigPart& part = partTable.parts[2];
  for (int i = 0; i < MaxPartModels; ++i) part.AddModel(i);
  for (int i = 0; i < MaxPartChildren; ++i) part.AddChild(i + 3);
  testing::internal::CaptureStderr();
  part.AddModel(40);
  part.AddChild(9);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Error: attempted to put too many models in a part\n"
            "Error: attempted to put too many children on a part\n");
  EXPECT_EQ(part.modelCount, MaxPartModels);
  EXPECT_EQ(part.childCount, MaxPartChildren);
  EXPECT_EQ(part.models[MaxPartModels - 1], MaxPartModels - 1);
  EXPECT_EQ(part.children[MaxPartChildren - 1], MaxPartChildren + 2);
}

}  // namespace
