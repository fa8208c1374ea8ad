// Drawing a part tree in a real GL context: where each part's meshes land (feedback mode), how
// drawing moves the cycle starts, the wireframe flag reaching the subtree, and a part's capacity.
#include "motion/rig_part.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "model/model_library.h"
#include "motion/part_table.h"
#include "support/gl_probe.h"
#include "support/global_tables_reset.h"

TEST(DrawPart, MeshesAndChildrenMoveByTheWave) {
  ASSERT_TRUE(UseTestGlContext());
  UseFlatColourLighting();
  ResetModelLibrary();
  ResetPartTable();
  const double xs[3] = {0.0, 0.25, 0.25}, ys[3] = {0.0, 0.0, 0.25}, zs[3] = {};
  modelLibrary.slots[0].AddTriangle(xs, ys, zs);
  modelLibrary.slots[1].AddTriangle(xs, ys, zs);
  RigPart &parent = partTable.parts[0], &child = partTable.parts[3];
  parent.AddModel(0);
  parent.AddChild(3);
  child.AddModel(1);
  parent.motion = {0.5, 0.0, 0.0};
  parent.period = 2000;
  parent.startTime = 1000;
  child.motion = {0.0, 0.5, 0.0};
  child.period = 1000;  // not started: the first draw with a time stamp other than 0 starts it
  const struct {
    uint32_t t;
    double parentX, childY;
    uint32_t parentStart, childStart;
  } steps[] = {{0, 0.5, 0.0, 1000u - 2000u, 0},
               {1500, 0.25, 0.0, 1000, 1500},
               {2000, 0.5, 0.5, 1000, 1500},
               {7500, 0.25, 0.0, 7000, 6500},
               {6500, 0.25, 0.0, 5000, 6500}};
  for (const auto& s : steps) {
    const FeedbackCapture solid = CaptureFeedback([&] { parent.DrawPart(s.t, false); });
    ASSERT_EQ(solid.polygons, 2);
    EXPECT_FLOAT_EQ(solid.vertices[0].x, (s.parentX + 1.0) * 32) << s.t;
    EXPECT_FLOAT_EQ(solid.vertices[3].x, (s.parentX + 1.0) * 32) << s.t;
    EXPECT_FLOAT_EQ(solid.vertices[3].y, (s.childY + 1.0) * 32) << s.t;
    EXPECT_EQ(parent.startTime, s.parentStart) << s.t;
    EXPECT_EQ(child.startTime, s.childStart) << s.t;
  }
  const FeedbackCapture lines = CaptureFeedback([&] { parent.DrawPart(6500, true); });
  EXPECT_TRUE(lines.polygons == 0 && lines.lines >= 6);
  GLint depth = 0;  // every push of the subtree popped
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1);
  for (int i = 1; i < 10; ++i) parent.AddModel(0);
  for (int i = 1; i < 5; ++i) parent.AddChild(3);
  testing::internal::CaptureStderr();
  child.AddModel(0);  // the child's 2nd model, then the parent's 11th and 6th
  parent.AddModel(40);
  parent.AddChild(9);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Error: attempted to put too many models in a part\nError: attempted to put too many children on a part\n");
  EXPECT_EQ(parent.modelCount * 10 + parent.childCount + child.modelCount * 100, 10 * 10 + 5 + 200);
  ResetPartTable();
  ResetModelLibrary();
}
