// The program's mesh drawing against the per-triangle stream (tools/bench/per_triangle_stream.h).
// Whole display passes over a walk cycle, across render-mode and background switches, keep the
// texture offsets, bound slot and list states, and the picture within the bounds of what drawing
// less may change; small meshes of every kind look exactly as the per-triangle stream draws them;
// and every single mesh draw leaves the GL in the state that stream leaves.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/window.h"
#include "model/mesh_closure.h"
#include "model/model_file.h"
#include "motion/rig.h"
#include "platform/clock.h"
#include "render/textured_batch.h"
#include "support/gl_probe.h"
#include "support/global_tables_reset.h"
#include "support/scratch_dir.h"
#include "support/test_textures.h"
#include "tools/bench/per_triangle_stream.h"
#include "tools/offscreen/offscreen_context.h"

namespace {

constexpr int Size = 500;

uint32_t fixedNow = 0;
uint32_t FixedClock() { return fixedNow; }

// How two RGB(A) pictures differ: pixels at all, pixels by more than 40 levels in a channel, PSNR.
struct Difference {
  int pixels = 0, beyond40 = 0;
  double psnr = 1e9;
};
Difference Compare(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b, size_t step) {
  Difference d;
  double squares = 0.0;
  for (size_t p = 0; p < a.size(); p += step) {
    int worst = 0;
    for (size_t c = 0; c < 3; ++c) {
      const int diff = std::abs(a[p + c] - b[p + c]);
      worst = std::max(worst, diff);
      squares += diff * diff;
    }
    d.pixels += worst > 0;
    d.beyond40 += worst > 40;
  }
  if (squares > 0) d.psnr = 10.0 * std::log10(255.0 * 255.0 * 3.0 * (a.size() / step) / squares);
  return d;
}

struct FramePlan {
  uint8_t textured, wireframe, backgroundSet;
  uint32_t at;  // ms after the start
};

// What one pass leaves behind.
struct Observation {
  std::vector<unsigned char> pixels;
  int32_t lastBound = 0;
  uint32_t randomState = 0;
  std::vector<double> offsets;  // every triangle's (u, v), slot by slot
  std::vector<int> lists;  // per slot: 0 none, 1 Solid, 2 Textured
};
Observation Observe(uint32_t random, const std::function<const double*(int)>& offsetsOf,
                    const std::function<int(int)>& listOf) {
  Observation seen{std::vector<unsigned char>(Size * Size * 4), lastBoundSlot, random, {}, {}};
  glFinish();
  glReadPixels(0, 0, Size, Size, GL_RGBA, GL_UNSIGNED_BYTE, seen.pixels.data());
  for (int slot = 0; slot < MaxObjects; ++slot) {
    seen.offsets.insert(seen.offsets.end(), offsetsOf(slot), offsetsOf(slot) + 2 * modelLibrary.slots[slot].triangleCount);
    seen.lists.push_back(listOf(slot));
  }
  return seen;
}

// The global texture set's arrays, traded with a test's own.
struct TextureArrays {
  unsigned char* pixels[TextureSlotCount] = {};
  int32_t widths[TextureSlotCount] = {}, heights[TextureSlotCount] = {};
  uint32_t names[TextureSlotCount] = {};
  void Trade() {
    std::swap(pixels, textureSet.pixels);
    std::swap(widths, textureSet.widths);
    std::swap(heights, textureSet.heights);
    std::swap(names, textureSet.textureNames);
  }
};

class FastStreamPictures : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(UseTestGlContext());
    saved.Trade();  // the shared context's set comes back after
    savedView = viewState;
    ASSERT_TRUE(context.Create(Size, Size)) << context.ErrorText();
    {
      WorkingDirectoryScope inBuild(STRIVEX_BINARY_DIR);
      textureSet.LoadTextureFiles();
    }
    for (int slot : {0, 1, 2, 6, 7, 8, 9}) ASSERT_NE(textureSet.pixels[slot], nullptr) << "shipped texture " << slot;
    textureSet.CreateTextures();
    viewState = ViewState{};
    viewState.windowWidth = viewState.windowHeight = Size;
    InitGlState();
    ReshapeWindow(Size, Size);
    glGetError();  // the pbuffer has no back buffer to select
    SetClockSource(FixedClock);
    ResetModelLibrary();
    ResetPartTable();
  }

  void TearDown() override {
    ResetPartTable();
    ResetModelLibrary();  // deletes the program's lists while this context is current
    if (context.IsCreated()) glDeleteTextures(TextureSlotCount, textureSet.textureNames);
    for (unsigned char*& pixels : textureSet.pixels) std::free(std::exchange(pixels, nullptr));
    saved.Trade();
    context.Destroy();
    UseTestGlContext();
    SetClockSource(nullptr);
    viewState = savedView;
    lastBoundSlot = -1;
  }

  // The plan drawn through the per-triangle stream, then through the program's DisplayFrame, from
  // the same start. Returns the worst difference per mode (Textured, Solid, Wireframe).
  std::vector<Difference> CompareRuns(const std::vector<FramePlan>& plan) {
    fixedNow = 7000000;
    BuildRig();
    uint32_t startTimes[MaxParts];
    for (int p = 0; p < MaxParts; ++p) startTimes[p] = partTable.parts[p].startTime;
    auto restart = [&] {
      for (int p = 0; p < MaxParts; ++p) partTable.parts[p].startTime = startTimes[p];
      lastFrameTime = 7000000;
      groundScroll = 0.0;
      lastBoundSlot = -1;
    };
    auto apply = [](const FramePlan& frame) {
      viewState.textured = frame.textured;
      viewState.wireframe = frame.wireframe;
      viewState.backgroundSet = frame.backgroundSet;
      fixedNow = 7000000 + frame.at;
    };
    const uint32_t randomStart = RandomDrawState();
    std::vector<Observation> expected;
    restart();
    per_triangle::Stream stream(randomStart);
    std::vector<per_triangle::MeshState> lists(MaxObjects);
    for (const FramePlan& frame : plan) {
      apply(frame);
      stream.DrawFrame(lists, fixedNow);
      expected.push_back(Observe(
          stream.randomState, [&](int s) { return lists[s].texOffsets.data(); },
          [&](int s) { return lists[s].listBuilt ? 1 + lists[s].listTextured : 0; }));
    }
    restart();
    EXPECT_EQ(RandomDrawState(), randomStart);  // the per-triangle run drew nothing from the program's generator
    std::vector<Difference> worst(3);
    for (size_t i = 0; i < plan.size(); ++i) {
      SCOPED_TRACE("frame " + std::to_string(i));
      apply(plan[i]);
      DisplayFrame();
      EXPECT_FALSE(textureBatchOpen);
      const Observation seen = Observe(
          RandomDrawState(), [](int s) { return &modelLibrary.slots[s].texOffsets[0][0]; },
          [](int s) { return modelLibrary.slots[s].listBuilt ? 1 + modelLibrary.slots[s].listTextured : 0; });
      const Observation& want = expected[i];
      EXPECT_EQ(seen.lastBound, want.lastBound);
      EXPECT_EQ(seen.randomState, want.randomState);
      EXPECT_TRUE(seen.offsets == want.offsets) << "texture offsets differ";
      EXPECT_EQ(seen.lists, want.lists);
      const Difference d = Compare(seen.pixels, want.pixels, 4);
      Difference& mode = worst[plan[i].wireframe ? 2 : plan[i].textured ? 0 : 1];
      if (d.pixels > mode.pixels || d.psnr < mode.psnr) mode = d;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    return worst;
  }

  OffscreenContext context;
  TextureArrays saved;
  ViewState savedView{};
};

// A walk cycle (2000 ms) sampled in each mode, both backgrounds in turn: Textured first (compiles
// every list, chooses every offset), Wireframe, Textured again over the kept lists, Solid (rebuilt),
// and Wireframe once more. Culled back faces may change silhouette pixels; a shared edge drawn once
// may change the shade of line pixels where two normals competed.
TEST_F(FastStreamPictures, RobotOverAWalkCycleStaysWithinBounds) {
  testing::internal::CaptureStdout();  // the load progress line
  const int status = LoadModelFile(STRIVEX_BINARY_DIR "/De_209.asc");
  testing::internal::GetCapturedStdout();
  ASSERT_EQ(status, 0);
  std::vector<FramePlan> plan;
  const uint8_t modes[][2] = {{1, 0}, {0, 1}, {1, 0}, {0, 0}, {0, 1}};
  const int samples[] = {4, 6, 1, 6, 1};
  for (int block = 0; block < 5; ++block) {
    for (int i = 0; i < samples[block]; ++i) {
      const uint32_t at = 2000u * i / samples[block] + 131u * block;
      plan.push_back({modes[block][0], modes[block][1], static_cast<uint8_t>(i % 2), at});
    }
  }
  const std::vector<Difference> worst = CompareRuns(plan);
  const char* names[] = {"Textured", "Solid", "Wireframe"};
  for (int m = 0; m < 3; ++m) {
    std::printf("worst %s frame: %d pixels differ, %d by more than 40 levels, PSNR %.1f dB\n", names[m],
                worst[m].pixels, worst[m].beyond40, worst[m].psnr);
  }
  EXPECT_LE(worst[0].pixels, 50);
  EXPECT_LE(worst[1].pixels, 50);
  EXPECT_LE(worst[2].beyond40, 2500);
  EXPECT_GE(worst[2].psnr, 34.0);
}

// Open sheets of interleaved materials, none sharing an edge: every mode must match to the pixel.
// Runs and single triangles, textured materials following each other, grey 3, -1 and 7 between
// them, an empty mesh, one of a single triangle, one of one material; overlaps decided by order.
TEST_F(FastStreamPictures, InterleavedMaterialsMatchThePerTriangleStream) {
  uint32_t seed = 2024;
  auto next = [&](int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % static_cast<uint32_t>(n));
  };
  const MaterialIndex palette[] = {0, 1, 2, 3, -1, 7, 0, 2, 1};
  for (int slot = 0; slot < 22; ++slot) {
    MeshObject& mesh = modelLibrary.slots[slot];
    const int count = slot == 7 ? 0 : slot == 12 ? 1 : 40 + next(80);
    MaterialIndex material = 0;
    for (int i = 0, runLeft = 0; i < count; ++i) {
      const double x = -6.0 + next(800) / 100.0, z = next(600) / 100.0, s = 0.4 + next(100) / 100.0;
      const double xs[3] = {x, x + s, x + 0.3 * s}, ys[3] = {1.0 + 0.1 * slot, 1.0 + 0.1 * slot, 1.0 + 0.1 * slot},
                   zs[3] = {z, z + 0.2 * s, z + s};
      mesh.AddTriangle(xs, ys, zs);
      if (runLeft-- <= 0) {
        material = palette[next(9)];
        runLeft = next(4);
      }
      mesh.materials[i] = slot == 3 ? 1 : slot == 9 ? i % 3 : material;
    }
  }
  modelLibrary.objectCount = 22;
  const std::vector<FramePlan> plan = {{1, 0, 0, 0}, {1, 0, 1, 66}, {0, 0, 1, 132}, {0, 0, 0, 198}, {0, 1, 0, 264},
                                       {0, 1, 1, 330}, {1, 0, 0, 396}, {0, 1, 1, 462}, {1, 0, 1, 528}};
  for (const Difference& mode : CompareRuns(plan)) EXPECT_EQ(mode.pixels, 0);
}

// Single meshes in the small shared context, flat colours, depth-tested under an orthographic
// camera looking down -z.
class FastStreamMeshes : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(UseGlobalTestTextures());
    saved = viewState;
    UseFlatColourLighting();
  }
  void TearDown() override {
    viewState = saved;
    lastBoundSlot = -1;
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    UseFlatColourLighting();
  }
  ViewState saved{};
};

using Triangle = std::vector<std::vector<double>>;  // three corners (x, y, z)

void Fill(MeshObject& mesh, const std::vector<Triangle>& triangles) {
  for (const Triangle& t : triangles) {
    const double xs[3] = {t[0][0], t[1][0], t[2][0]}, ys[3] = {t[0][1], t[1][1], t[2][1]},
                 zs[3] = {t[0][2], t[1][2], t[2][2]};
    mesh.materials[mesh.triangleCount] = mesh.triangleCount % 3 + 1;
    mesh.AddTriangle(xs, ys, zs);
  }
}

// An irregular tetrahedron wound outward (counter-clockwise seen from outside), and its pieces.
const std::vector<double> A = {-0.6, -0.5, -0.4}, B = {0.7, -0.45, -0.35}, C = {0.05, 0.65, -0.3},
                          D = {0.1, 0.0, 0.6}, DNegZero = {0.1, -0.0, 0.6}, DHigh = {0.1, 0.0, 0.9};
const Triangle Base = {A, C, B}, Front = {A, B, D}, Right = {B, C, D}, Left = {C, A, D};
Triangle Flip(const Triangle& t) { return {t[0], t[2], t[1]}; }

// Culling only where no side of the mesh can tell: seen from the front, from the back, and cut
// open by the near plane (where only culling hides the inside).
TEST_F(FastStreamMeshes, OnlyClosedOutwardMeshesAreCulled) {
  struct Case {
    const char* name;
    std::vector<Triangle> triangles;
    bool closedOutward;
  } cases[] = {
      {"closed outward", {Base, Front, Right, Left}, true},
      {"closed, one corner written -0.0", {Base, Front, {B, C, DNegZero}, Left}, true},
      {"inward", {Flip(Base), Flip(Front), Flip(Right), Flip(Left)}, false},
      {"one face turned", {Base, Flip(Front), Right, Left}, false},
      {"open tent", {Front, Right, Left}, false},
      {"a face twice", {Base, Front, Right, Left, Left}, false},
      {"apex of one face lifted (closed in plan view only)", {Base, {A, B, DHigh}, Right, Left}, false},
      {"two facing sheets (closed in plan view only)", {{{A[0], A[1], 0.5}, {B[0], B[1], 0.5}, {C[0], C[1], 0.5}}, Base}, false},
  };
  for (const Case& c : cases) {
    MeshObject mesh;
    Fill(mesh, c.triangles);
    mesh.closedOutward = IsClosedOutward(mesh);
    EXPECT_EQ(mesh.closedOutward, c.closedOutward) << c.name;
    per_triangle::MeshState own;
    per_triangle::Stream stream(RandomDrawState());
    for (int view = 0; view < 6; ++view) {
      SCOPED_TRACE(std::string(c.name) + ", view " + std::to_string(view));
      viewState.textured = view >= 3;
      std::vector<unsigned char> pictures[2];
      for (int side = 0; side < 2; ++side) {
        glEnable(GL_DEPTH_TEST);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glScaled(1.0, 1.0, -1.0);  // the viewer on +z
        if (view % 3 == 1) glRotated(180.0, 1.0, 0.0, 0.0);
        if (view % 3 == 2) glTranslated(0.0, 0.0, 0.8);
        lastBoundSlot = -1;
        side == 0 ? stream.DrawMeshCached(mesh, own, viewState.textured) : mesh.DrawMeshCached();
        EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
        pictures[side] = ReadSurface();
      }
      const bool hidesInside = c.closedOutward && view % 3 == 2;
      EXPECT_EQ(pictures[0] == pictures[1], !hidesInside);
    }
  }
  glLoadIdentity();
}

// A shared edge (corners compared exactly, in either direction) is drawn once, by the first triangle
// in order, in its colour and direction; lines that only look shared are all drawn.
TEST_F(FastStreamMeshes, WireframeDrawsEachEdgeOnceByItsFirstOwner) {
  const std::vector<double> P = {-0.7, -0.6, 0.1}, Q = {0.6, 0.5, -0.2}, R = {-0.5, 0.7, 0.0}, S = {0.5, -0.7, 0.3},
                            RNegZero = {-0.5, 0.7, -0.0}, QLow = {0.6, 0.5, -0.3};
  struct Case {
    const char* name;
    std::vector<Triangle> triangles;
    std::vector<int> skipped;  // 3t + line (AB, CA, BC)
  } cases[] = {
      {"shared in opposite directions", {{P, Q, R}, {Q, P, S}}, {3}},
      {"shared in one direction", {{R, P, Q}, {S, P, Q}}, {5}},
      {"shared, one corner written -0.0", {{P, Q, R}, {Q, RNegZero, S}}, {3}},
      {"shared by three", {{P, Q, R}, {S, Q, P}, {P, Q, {0.0, 0.9, 0.5}}}, {5, 6}},
      {"apart in z only", {{P, Q, R}, {QLow, P, S}}, {}},
      {"the tetrahedron", {Base, Front, Right, Left}, {3, 6, 7, 9, 10, 11}},
  };
  const int LineEnds[3][2] = {{0, 1}, {2, 0}, {1, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MeshObject mesh;
    Fill(mesh, c.triangles);
    glEnable(GL_DEPTH_TEST);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBegin(GL_LINES);
    for (int32_t t = 0; t < mesh.triangleCount; ++t) {
      per_triangle::SetColour(mesh.materials[t]);
      glNormal3dv(&mesh.normals[t].x);
      for (int line = 0; line < 3; ++line) {
        if (std::find(c.skipped.begin(), c.skipped.end(), 3 * t + line) != c.skipped.end()) continue;
        for (int k : LineEnds[line]) {
          glVertex3d(mesh.cornerX[t][k], mesh.cornerY[t][k], mesh.cornerZ[t][k]);
        }
      }
    }
    glEnd();
    const std::vector<unsigned char> want = ReadSurface();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    mesh.DrawMeshWireframe();
    EXPECT_TRUE(ReadSurface() == want);
  }
}

}  // namespace
